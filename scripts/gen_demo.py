#!/usr/bin/python3
"""Deterministic demo and benchmark data for the receivables program.

Writes SQL INSERT statements for a small clothing shop in Minas Gerais to
stdout: company, branch, shifts, sellers, plans, card types, bank accounts,
products, clients, sales with their items, and exactly M installments in
`receber` covering every state the program deals with (open, overdue,
settled on time and late, partial payments with their remainder rows,
cancelled sales, refinancings, card and cheque installments, clients
reported to the credit-protection service), plus the cash-book and cheque
rows that go with them.

    gen_demo.py --seed N --installments M [--today YYYY-MM-DD] > demo.sql
    mariadb ... db < demo.sql

Load it into an empty database created from data/schema.sql: the sales,
installments and a few reference tables get explicit keys. The same seed,
size and date always give byte-identical output.
"""

import argparse
import datetime as dt
import os
import random
import re
import sys
import unicodedata
from decimal import ROUND_HALF_UP, Decimal

BATCH = 500
HISTORY_DAYS = 730
JUROS_DIA = 0.33  # daily late interest, in percent, that the shop charges

# Client code the suite reserves for counter sales without a registered client.
CASH_CLIENT = 6048
CASH_CLIENT_NAME = "VENDA A VISTA"

BRANCH_CODE = 1
BRANCH_NAME = "MATRIZ"
COMPUTERS = ["CAIXA01", "CAIXA02", "BALCAO"]
OPERATORS = ["ADMIN", "FERNANDA", "ROBERTO"]

SELLERS = [
    (1, "ANA PAULA FERREIRA"),
    (2, "CARLOS EDUARDO LIMA"),
    (3, "JULIANA MARTINS"),
    (4, "MARCOS VINÍCIUS ROCHA"),
    (5, "PATRÍCIA GONÇALVES"),
]

# code, description, quantity, down payment, application, kind, card fee %
PLANS = [
    (1, "CREDIARIO 3X", 3, "N", "CREDIARIO", "CREDIARIO", None),
    (2, "CREDIARIO 1+3", 4, "S", "CREDIARIO", "CREDIARIO", None),
    (3, "CREDIARIO 5X", 5, "N", "CREDIARIO", "CREDIARIO", None),
    (4, "CARTAO CREDITO 3X", 3, "N", "CARTÃO CREDITO", "CARTÃO CREDITO", 3.5),
    (5, "CARTAO DEBITO", 1, "N", "CARTÃO DEBITO", "CARTÃO DEBITO", 1.8),
    (6, "CHEQUE 30/60", 2, "N", "CHEQUE", "CHEQUE", None),
    (7, "CREDIARIO 10X", 10, "N", "CREDIARIO", "CREDIARIO", None),
    (-1, "SEM PLANO", 1, "N", "CREDIARIO", "CREDIARIO", None),
]
PLAN = {p[0]: p for p in PLANS}
PLAN_WEIGHTS = [(1, 26), (2, 14), (3, 20), (7, 8), (4, 13), (5, 7), (6, 6)]

CARD_TYPES = [(1, "VISA"), (2, "MASTERCARD"), (3, "ELO"), (4, "HIPERCARD"), (5, "AMEX")]
ACQUIRERS = ["CIELO", "REDE", "STONE", "GETNET"]
CHEQUE_BANKS = ["BANCO DO BRASIL", "CAIXA ECONOMICA", "ITAU", "BRADESCO", "SANTANDER", "SICOOB"]

# payment kind -> (caixa.Tipo, caixa.especie, caixa.Condicao); "Vale" writes no cash row
CASH_KINDS = {
    "Dinheiro": ("CREDITO", "Recebimento Crediario Dinheiro", "DINHEIRO"),
    "Pix": ("PIX", "Recebimento Crediario Pix", "PIX"),
    "Valor do Dpc": ("CREDITO", "Recebimento Crediario Dinheiro", "DINHEIRO"),
    "Cartão de Credito": ("CREDITO", "Recebimento Crediario Cartao Credito", "CARTÃO DE CREDITO"),
    "Cartão de Debito": ("CREDITO", "Recebimento Crediario Cartao Debito", "CARTÃO DE DEBITO"),
    "Cheque": ("CREDITO", "Recebimento Crediario Cheque", "CHEQUE"),
}
KIND_WEIGHTS = [("Dinheiro", 55), ("Pix", 28), ("Cartão de Debito", 7),
                ("Cartão de Credito", 4), ("Vale", 2), ("Cheque", 2)]

FIRST_F = ["MARIA", "ANA", "FRANCISCA", "ANTÔNIA", "ADRIANA", "JULIANA", "MÁRCIA",
           "FERNANDA", "PATRÍCIA", "ALINE", "SANDRA", "CAMILA", "AMANDA", "BRUNA",
           "JÉSSICA", "LETÍCIA", "JOANA", "LUCIANA", "VANESSA", "CRISTINA", "SIMONE",
           "ROSÂNGELA", "TEREZINHA", "DÉBORA", "RAQUEL", "CÉLIA", "GABRIELA", "LÚCIA"]
FIRST_M = ["JOSÉ", "JOÃO", "ANTÔNIO", "FRANCISCO", "CARLOS", "PAULO", "PEDRO", "LUCAS",
           "LUIZ", "MARCOS", "LUÍS", "GABRIEL", "RAFAEL", "DANIEL", "MARCELO", "BRUNO",
           "EDUARDO", "FELIPE", "RODRIGO", "SEBASTIÃO", "GERALDO", "WELLINGTON",
           "ANDERSON", "FÁBIO", "SÉRGIO", "ROGÉRIO", "VINÍCIUS", "OTÁVIO"]
MIDDLE_F = ["APARECIDA", "DE FÁTIMA", "CRISTINA", "HELENA", "D'ARC", "LUÍSA"]
MIDDLE_M = ["EDUARDO", "HENRIQUE", "AUGUSTO", "CARLOS", "DE ASSIS", "ROBERTO"]
SURNAMES = ["SILVA", "SANTOS", "OLIVEIRA", "SOUZA", "RODRIGUES", "FERREIRA", "ALVES",
            "PEREIRA", "LIMA", "GOMES", "COSTA", "RIBEIRO", "MARTINS", "CARVALHO",
            "ALMEIDA", "LOPES", "SOARES", "FERNANDES", "VIEIRA", "BARBOSA", "ROCHA",
            "DIAS", "NASCIMENTO", "ANDRADE", "MOREIRA", "NUNES", "MARQUES", "MACHADO",
            "MENDES", "FREITAS", "CARDOSO", "RAMOS", "GONÇALVES", "SANTANA", "TEIXEIRA",
            "D'ÁVILA", "CASTRO", "ARAÚJO", "RESENDE", "FARIA", "TAVARES", "CAMPOS"]

STREETS = ["RUA GOIÁS", "RUA SÃO PAULO", "AV. PRIMEIRO DE JUNHO", "RUA PERNAMBUCO",
           "RUA RIO DE JANEIRO", "AV. ANTÔNIO OLÍMPIO DE MORAIS", "RUA MINAS GERAIS",
           "RUA SERGIPE", "RUA BAHIA", "RUA TUPIS", "RUA DOS INCONFIDENTES",
           "AV. JK", "RUA SANTOS DUMONT", "RUA TIRADENTES", "RUA PADRE EUSTÁQUIO",
           "RUA DONA JOVELINA", "RUA SETE DE SETEMBRO", "AV. PARANÁ", "RUA PIAUÍ",
           "RUA ITAPECERICA", "RUA JOSÉ GABRIEL MEDEF", "TRAVESSA DAS FLORES",
           "RUA SANT'ANA", "RUA DOS OTONI"]
BAIRROS = ["CENTRO", "BOM PASTOR", "SIDIL", "PORTO VELHO", "ESPLANADA", "NITERÓI",
           "JARDIM BELVEDERE", "SÃO JOSÉ", "NOSSA SENHORA DAS GRAÇAS", "INTERLAGOS",
           "SANTA CLARA", "VILA DAS ROSAS", "JARDIM CANDIDÉS", "IPIRANGA", "PLANALTO",
           "SÃO JUDAS TADEU", "BELA VISTA", "MORADA NOVA", "CONJUNTO HABITACIONAL"]
# city, CEP prefix (five digits), telephone area code, weight
CITIES = [("DIVINÓPOLIS", "35500", "37", 55), ("CARMO DO CAJURU", "35557", "37", 8),
          ("SÃO GONÇALO DO PARÁ", "35516", "37", 6), ("NOVA SERRANA", "35520", "37", 8),
          ("ITAÚNA", "35680", "37", 8), ("CLÁUDIO", "35530", "37", 5),
          ("PARÁ DE MINAS", "35660", "37", 5), ("BELO HORIZONTE", "30130", "31", 3),
          ("OLHOS-D'ÁGUA", "39398", "38", 1), ("SANTO ANTÔNIO DO MONTE", "35560", "37", 1)]
COMPLEMENTS = ["CASA", "APTO 101", "APTO 202", "FUNDOS", "BLOCO B", "LOJA 2", "CASA 2"]
EMPLOYERS = ["SUPERMERCADO BOM PREÇO", "PREFEITURA MUNICIPAL", "CONFECÇÕES ALFA",
             "METALÚRGICA CENTRO-OESTE", "HOSPITAL SÃO JOÃO DE DEUS", "AUTÔNOMO",
             "CALÇADOS NOVA SERRANA", "ESCOLA ESTADUAL", "APOSENTADO(A)"]
JOBS = ["VENDEDOR(A)", "AUX. ADMIN.", "PROFESSOR(A)", "COSTUREIRA", "MOTORISTA",
        "ENFERMEIRO(A)", "PEDREIRO", "DIARISTA", "METALÚRGICO", "APOSENTADO(A)"]

# description, group code, price
PRODUCTS = [
    ("CAMISETA BÁSICA ALGODÃO P/M/G", 1, 39.90), ("CAMISETA ESTAMPADA MASCULINA", 1, 59.90),
    ("CAMISA POLO PIQUET", 1, 89.90), ("CAMISA SOCIAL MANGA LONGA", 1, 129.90),
    ("BLUSA DE MALHA FEMININA", 1, 49.90), ("BLUSA CROPPED CANELADA", 1, 45.90),
    ("REGATA DRY FIT", 1, 34.90), ("CALÇA JEANS SKINNY FEMININA", 2, 149.90),
    ("CALÇA JEANS TRADICIONAL MASC.", 2, 139.90), ("CALÇA DE SARJA", 2, 119.90),
    ("BERMUDA JEANS", 2, 89.90), ("BERMUDA TACTEL", 2, 49.90),
    ("SHORT JEANS DESTROYED", 2, 79.90), ("SAIA MIDI PLISSADA", 2, 99.90),
    ("LEGGING SUPLEX", 2, 59.90), ("VESTIDO MIDI ESTAMPADO", 3, 169.90),
    ("VESTIDO LONGO VISCOSE", 3, 189.90), ("MACACÃO JEANS", 3, 199.90),
    ("CONJUNTO MOLETOM INFANTIL", 4, 99.90), ("PIJAMA INFANTIL", 4, 59.90),
    ("BODY BEBÊ (KIT 3)", 4, 69.90), ("JAQUETA JEANS", 5, 219.90),
    ("JAQUETA CORTA-VENTO", 5, 179.90), ("MOLETOM CANGURU", 5, 149.90),
    ("CARDIGÃ DE TRICÔ", 5, 129.90), ("TÊNIS CASUAL", 6, 199.90),
    ("TÊNIS DE CORRIDA", 6, 289.90), ("SANDÁLIA RASTEIRA", 6, 59.90),
    ("CHINELO DE DEDO", 6, 29.90), ("SAPATÊNIS COURO", 6, 229.90),
    ("BOTA CANO CURTO", 6, 259.90), ("CINTO DE COURO", 7, 69.90),
    ("BONÉ ABA CURVA", 7, 49.90), ("BOLSA TIRACOLO", 7, 139.90),
    ("CARTEIRA MASCULINA", 7, 59.90), ("ÓCULOS DE SOL", 7, 89.90),
    ("CUECA BOXER (KIT 3)", 8, 54.90), ("CALCINHA ALGODÃO (KIT 5)", 8, 49.90),
    ("MEIA SOCIAL (KIT 3 PARES)", 8, 29.90), ("SUTIÃ COM BOJO", 8, 69.90),
]
GROUPS = {1: "CAMISARIA", 2: "CALÇAS E BERMUDAS", 3: "VESTIDOS", 4: "INFANTIL",
          5: "AGASALHOS", 6: "CALÇADOS", 7: "ACESSÓRIOS", 8: "MODA ÍNTIMA"}
BRANDS = [(1, "LINHA PRÓPRIA"), (2, "ESTILO MINAS"), (3, "URBAN WEAR"), (4, "KIDS FUN")]
SUPPLIERS = [(1, "CONFECÇÕES SERRANA LTDA"), (2, "DISTRIBUIDORA DE CALÇADOS OESTE"),
             (3, "TÊXTIL ITAÚNA S.A."), (4, "CEMIG DISTRIBUIÇÃO"),
             (5, "IMOBILIÁRIA CENTRAL"), (6, "CONTABILIDADE EXATA")]


def rd2(x):
    """Two decimals, half away from zero, on the exact binary value."""
    return float(Decimal(x).quantize(Decimal("0.01"), rounding=ROUND_HALF_UP))


def add_months(d, k):
    m = d.month - 1 + k
    y, m = d.year + m // 12, m % 12 + 1
    last = (dt.date(y + m // 12, m % 12 + 1, 1) - dt.timedelta(days=1)).day
    return dt.date(y, m, min(d.day, last))


def ascii_fold(s):
    return "".join(c for c in unicodedata.normalize("NFKD", s) if c.isascii())


def cpf_text(rng):
    d = [rng.randint(0, 9) for _ in range(9)]
    for n in (10, 11):
        s = sum(v * w for v, w in zip(d, range(n, 1, -1))) % 11
        d.append(0 if s < 2 else 11 - s)
    s = "".join(map(str, d))
    return "%s.%s.%s-%s" % (s[0:3], s[3:6], s[6:9], s[9:])


def cnpj_digits(base12):
    d = [int(c) for c in base12]
    for w in ([5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2], [6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2]):
        s = sum(v * x for v, x in zip(d, w)) % 11
        d.append(0 if s < 2 else 11 - s)
    return "".join(map(str, d))


def time_text(rng, lo=8 * 3600, hi=18 * 3600 - 1):
    t = rng.randint(lo, hi)
    return "%02d:%02d:%02d" % (t // 3600, t // 60 % 60, t % 60)


def shift_of(hhmmss):
    return "1" if hhmmss < "13:00:00" else "2"


def weighted(rng, pairs):
    total = sum(w for _, w in pairs)
    r = rng.uniform(0, total)
    for v, w in pairs:
        r -= w
        if r <= 0:
            return v
    return pairs[-1][0]


class Schema:
    """Column widths from data/schema.sql, to catch a text the server would refuse."""

    def __init__(self):
        self.cols = {}
        path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "schema.sql")
        if not os.path.exists(path):
            return
        table = None
        with open(path, encoding="utf-8") as f:
            for line in f:
                m = re.match(r"CREATE TABLE `([^`]+)`", line)
                if m:
                    table = m.group(1).lower()
                    self.cols[table] = {}
                    continue
                m = re.match(r"\s*`([^`]+)` (\w+)(?:\((\d+)\))?", line)
                if m and table:
                    width = int(m.group(3)) if m.group(2) == "VARCHAR" else None
                    self.cols[table][m.group(1).lower()] = width

    def check(self, table, row):
        cols = self.cols.get(table)
        if cols is None:
            return
        for k, v in row.items():
            if k.lower() not in cols:
                raise SystemExit("gen_demo: no column %s.%s" % (table, k))
            w = cols[k.lower()]
            if isinstance(v, str) and w is not None and len(v) > w:
                raise SystemExit("gen_demo: %s.%s longer than %d: %r" % (table, k, w, v))


def sql_value(v):
    if v is None:
        return "NULL"
    if isinstance(v, str):
        # No backslashes at all, so the text reads the same with or without
        # NO_BACKSLASH_ESCAPES; quotes are doubled.
        if "\\" in v or "\0" in v:
            raise SystemExit("gen_demo: unsafe text %r" % v)
        return "'" + v.replace("'", "''") + "'"
    if isinstance(v, bool):
        return "1" if v else "0"
    if isinstance(v, int):
        return str(v)
    if isinstance(v, float):
        return repr(v)
    if isinstance(v, dt.datetime):
        return v.strftime("'%Y-%m-%d %H:%M:%S'")
    if isinstance(v, dt.date):
        return v.strftime("'%Y-%m-%d'")
    raise TypeError(type(v))


class Output:
    def __init__(self, schema):
        self.schema = schema
        self.tables = {}

    def add(self, table, row):
        row = {k: v for k, v in row.items() if v is not None}
        self.schema.check(table, row)
        self.tables.setdefault(table, []).append(row)

    def write(self, out, order, header):
        w = out.write
        w(header)
        w("SET NAMES utf8mb4;\nSET autocommit=0;\n")
        for table in order:
            rows = self.tables.get(table, [])
            cols = []
            seen = set()
            for r in rows:
                for k in r:
                    if k not in seen:
                        seen.add(k)
                        cols.append(k)
            head = "INSERT INTO `%s` (%s) VALUES\n" % (table, ",".join("`%s`" % c for c in cols))
            for i in range(0, len(rows), BATCH):
                w(head)
                w(",\n".join("(" + ",".join(sql_value(r.get(c)) for c in cols) + ")"
                             for r in rows[i:i + BATCH]))
                w(";\n")
        w("COMMIT;\n")


class Generator:
    def __init__(self, seed, installments, today):
        self.rng = random.Random(seed)
        self.m = installments
        self.today = today
        self.start = today - dt.timedelta(days=HISTORY_DAYS)
        self.out = Output(Schema())
        self.receber_count = 0
        self.controle = 0
        self.nfce = 4999
        self.note = 0
        self.seller_name = dict(SELLERS)

    # reference tables

    def company(self):
        rng = self.rng
        self.cnpj = cnpj_digits("%08d0001" % rng.randint(10000000, 99999999))
        self.out.add("configuracao", {
            "Controle": 1, "Nome": "LOJA MODELO CONFECÇÕES", "Endereco": "RUA GOIÁS",
            "Bairro": "CENTRO", "Numero": "1250", "Cidade": "DIVINÓPOLIS", "Estado": "MG",
            "Cep": "35500001", "Tel1": "(37) 3221-4567", "Tel2": "(37) 99988-1234",
            "Fax": "(37) 3221-4568", "Email": "contato@lojamodelo.com.br", "Setor": "VESTUÁRIO",
            "Cnpj": self.cnpj, "Insc": "2230157840081", "email02": "financeiro@lojamodelo.com.br",
            "nomeresponsavel": "HELENA MARIA RESENDE", "nomefantasia": "LOJA MODELO"})
        self.out.add("filial", {"Codigofilial": BRANCH_CODE, "Nomefilial": BRANCH_NAME})
        self.out.add("turno", {"controle": 1, "descricao": "MANHÃ", "horaabertura": "08:00",
                               "horafechamento": "13:00"})
        self.out.add("turno", {"controle": 2, "descricao": "TARDE", "horaabertura": "13:00",
                               "horafechamento": "18:00"})
        for code, name in SELLERS:
            self.out.add("funcionario", {"CodigoFuncionario": code, "NomeFuncionario": name})
        for code, name in CARD_TYPES:
            self.out.add("tipocartao", {"CodigoCartao": code, "NomeCartao": name})
        self.out.add("conta", {"codigoconta": 1, "banco": "BANCO DO BRASIL", "agencia": "1634",
                               "conta": "28471-3", "valor": 0.0})
        self.out.add("conta", {"codigoconta": 2, "banco": "CAIXA ECONOMICA", "agencia": "0987",
                               "conta": "00012345-7", "valor": 0.0})
        for code, desc, qty, entry, appl, kind, perc in PLANS:
            self.out.add("parcela", {
                "CodigoParcela": code, "Descparcela": desc, "Quantidade": qty, "Entrada": entry,
                "Aplicacao": appl, "especie": appl, "tipo": kind, "percentual": perc,
                "dias": 30, "TipoJuros": "S", "JurosMensal": 0.0, "JurosAM": 0.0})
        self.products = []
        for i, (desc, group, price) in enumerate(PRODUCTS):
            brand = BRANDS[3] if group == 4 else BRANDS[i % 3]
            supplier = SUPPLIERS[1] if group == 6 else SUPPLIERS[i % 3 == 2 and 2 or 0]
            code = 1001 + i
            self.products.append((code, desc, group, price))
            self.out.add("produto", {
                "CodigoProduto": float(code), "Descricao": desc, "CodigoAntigo": "A%04d" % code,
                "Referencia": "REF-%05d" % (code * 7 % 100000), "bCodPromocao": 0,
                "CodigoFornecedor": float(supplier[0]), "NomeFornecedor": supplier[1],
                "CodigoGrupo": float(group), "Descricaogrupo": GROUPS[group],
                "CodigoGrife": float(brand[0]), "DescricaoGrife": brand[1],
                "Estminimo": 3.0, "QtMinima": 1.0, "Quantidade": float(self.rng.randint(4, 120)),
                "PrecoCusto": rd2(price * 0.48), "PrecoCompra": rd2(price * 0.45),
                "PrecoVenda": price, "Preco": price, "bControlaEstoquetPrd": 1, "Fator": 1.0,
                "IEstMAximoTprd": 200.0, "controle": i + 1})

    def clients(self):
        rng = self.rng
        n = max(30, self.m // 8)
        codes = [c for c in range(1, n + 2) if c != CASH_CLIENT][:n]
        names = set()
        self.client_list = []
        for code in codes:
            female = rng.random() < 0.58
            for _ in range(6):
                first = rng.choice(FIRST_F if female else FIRST_M)
                mid = ""
                if rng.random() < 0.3:
                    mid = rng.choice(MIDDLE_F if female else MIDDLE_M) + " "
                s1, s2 = rng.sample(SURNAMES, 2)
                particle = ""
                if rng.random() < 0.4:
                    particle = ("DOS " if s1.endswith("OS")
                                else "DA " if s1.endswith("A") else "DE ")
                name = "%s %s%s%s %s" % (first, mid, particle, s1, s2)
                if name not in names:
                    break
            names.add(name)
            city, cep, ddd, _ = weighted(rng, [(c, c[3]) for c in CITIES])
            birth = dt.date(rng.randint(1950, 2004), rng.randint(1, 12), rng.randint(1, 28))
            c = {
                "code": code, "name": name, "file": "%05d" % code, "cpf": cpf_text(rng),
                "rg": "MG-%02d.%03d.%03d" % (rng.randint(10, 99), rng.randint(0, 999),
                                             rng.randint(0, 999)),
                "street": rng.choice(STREETS), "number": str(rng.randint(1, 2999)),
                "compl": rng.choice(COMPLEMENTS) if rng.random() < 0.3 else None,
                "bairro": rng.choice(BAIRROS) if city == "DIVINÓPOLIS" else "CENTRO",
                "city": city, "cep": "%s-%03d" % (cep, rng.randint(0, 999)),
                "tel": "(%s) 9%04d-%04d" % (ddd, rng.randint(8000, 9999), rng.randint(0, 9999)),
                "birth": birth, "female": female, "spc": False,
                # how the client pays: mostly on time, late, or stops paying
                "profile": weighted(rng, [("good", 60), ("late", 28), ("bad", 12)]),
                "email": None,
            }
            if rng.random() < 0.4:
                user = ascii_fold(first + "." + s2).lower().replace(" ", "").replace("'", "")
                c["email"] = "%s%d@%s" % (user, rng.randint(1, 99),
                                          rng.choice(["gmail.com", "hotmail.com", "yahoo.com.br"]))
            self.client_list.append(c)
        self.cash_client = {
            "code": CASH_CLIENT, "name": CASH_CLIENT_NAME, "file": None, "cpf": None, "rg": None,
            "street": None, "number": None, "compl": None, "bairro": None, "city": "DIVINÓPOLIS",
            "cep": None, "tel": None, "birth": None, "female": None, "spc": False,
            "profile": "good", "email": None}

    def write_clients(self):
        rng = self.rng
        for c in self.client_list:
            self.out.add("cliente", {
                "Codigocliente": float(c["code"]), "Controle": c["file"], "Nome": c["name"],
                "Datanasc": c["birth"],
                "Cadastro": self.start - dt.timedelta(days=rng.randint(0, 1500)),
                "Cpf": c["cpf"], "Rg": c["rg"],
                "Mae": "%s %s" % (rng.choice(FIRST_F), c["name"].split()[-1]),
                "Endereco": c["street"], "Numero": c["number"], "Complemento": c["compl"],
                "Tel1": c["tel"], "Bairro": c["bairro"], "Cidade": c["city"], "Estado": "MG",
                "Empresa": rng.choice(EMPLOYERS), "Cargo": rng.choice(JOBS),
                "Salario": float(rng.randrange(1412, 6000, 50)), "Cep": c["cep"],
                "Email": c["email"], "Estcivil": rng.choice("SCCDV"),
                "Sexo": "F" if c["female"] else "M", "Negativado": "S" if c["spc"] else "N",
                "limitecompra": float(rng.randrange(500, 3001, 100)), "codigofilial": 1.0,
                "Tipovenda": "CREDIARIO", "situcaocadastro": "ATIVO"})
        self.out.add("cliente", {"Codigocliente": float(CASH_CLIENT), "Nome": CASH_CLIENT_NAME,
                                 "Cidade": "DIVINÓPOLIS", "Estado": "MG", "Cadastro": self.start,
                                 "Negativado": "N", "codigofilial": 1.0})

    # sales and installments

    def sale(self, day):
        rng = self.rng
        self.note += 1
        note = self.note
        nt = str(note)
        # every so often a counter sale and a sale without plan, so that even a
        # small data set has some
        cash = note % 100 == 7 or rng.random() < 0.004
        client = self.cash_client if cash else rng.choice(self.client_list)
        plan = PLAN[-1] if note % 150 == 13 else PLAN[weighted(rng, PLAN_WEIGHTS)]
        if client is self.cash_client and plan[0] not in (1, 3):
            plan = PLAN[1]
        code, pdesc, qty, entry, appl, kind, perc = plan
        seller = rng.randint(1, len(SELLERS))
        hour = time_text(rng)
        forced_cancel = note % 60 == 21 and code != -1
        has_nfce = code != -1 and (rng.random() < 1 / 3 or forced_cancel)
        cancelled = has_nfce and (rng.random() < 0.05 or forced_cancel)
        nfce = None
        if has_nfce:
            self.nfce += 1
            nfce = self.nfce
        chave = None
        if nfce:
            chave = "31%s%s65001%09d1%08d" % (day.strftime("%y%m"), self.cnpj, nfce,
                                             rng.randint(0, 99999999))
            chave += str(sum(int(ch) for ch in chave) % 10)
        protocolo = "131%012d" % rng.randint(0, 10 ** 12 - 1) if nfce else None

        items = []
        for p in rng.sample(self.products, rng.choice([1, 1, 2, 2, 2, 3, 3, 4])):
            items.append((p, float(rng.choice([1, 1, 1, 1, 2, 2, 3]))))
        total = rd2(sum(p[3] * q for p, q in items))

        # due dates of the installments
        if appl == "CREDIARIO":
            if entry == "S":
                dues = [day] + [add_months(day, i) for i in range(1, qty)]
            else:
                dues = [add_months(day, i) for i in range(1, qty + 1)]
        elif appl == "CARTÃO DEBITO":
            dues = [day + dt.timedelta(days=1)]
        else:
            dues = [day + dt.timedelta(days=30 * i) for i in range(1, qty + 1)]
        n = len(dues)
        values = [rd2(total / n)] * n
        values[-1] = rd2(total - sum(values[:-1]))

        card = cheque = None
        if appl.startswith("CARTÃO"):
            ct = rng.choice(CARD_TYPES)
            card = {"type": ct, "acq": rng.choice(ACQUIRERS),
                    "num": "************%04d" % rng.randint(0, 9999),
                    "ro": "%012d" % rng.randint(0, 10 ** 12 - 1)}
        if appl == "CHEQUE":
            cheque = {"bank": rng.choice(CHEQUE_BANKS), "ag": "%04d" % rng.randint(1, 9999),
                      "acc": "%05d-%d" % (rng.randint(0, 99999), rng.randint(0, 9)),
                      "first": rng.randint(100, 899000)}

        base = {
            "CodigoNota": nt, "ficha": client["file"], "Data": day,
            "CodigoCliente": float(client["code"]), "Nome": client["name"],
            "NomeCliente": client["name"], "DataNascimento": client["birth"], "cpf": client["cpf"],
            "rg": client["rg"], "endereco": client["street"], "numeros": client["number"],
            "complemento": client["compl"], "bairro": client["bairro"], "cidade": client["city"],
            "uf": "MG", "cep": client["cep"], "tel1": client["tel"],
            "CodigoFilial": float(BRANCH_CODE), "filial": BRANCH_NAME, "NomeFilial": BRANCH_NAME,
            "CodigoFuncionario": float(seller), "NomeFuncionario": self.seller_name[seller],
            "Comissao": 3.0, "CodigoParcela": float(code), "DescParcela": pdesc,
            "Condicaovenda": appl, "Aplicacao": appl, "Opcaovenda": kind, "tipovenda": kind,
            "DataEmissao": day, "Total": total, "NFCancelada": "S" if cancelled else "N",
            "nfce": nfce, "serienfce": 1 if nfce else None, "datanfce": day if nfce else None,
            "horanfce": hour if nfce else None, "chave": chave, "protocolo": protocolo,
            "hora": hour,
        }
        if card:
            base.update({"Percentual": perc, "codigotipocartao": float(card["type"][0]),
                         "descricaotipocartao": card["type"][1],
                         "Codigocartao": float(card["type"][0]), "Nomecartao": card["type"][1],
                         "Banco": card["acq"], "Ncartao": card["num"], "Ro": card["ro"],
                         "DataEmi": day, "ValorOperacao": total})
        if cancelled:
            base["tipopagamento"] = "CANCELADO"

        rows = []
        for i, (due, val) in enumerate(zip(dues, values), 1):
            r = dict(base)
            r.update({"Controles": "%s/%d" % (nt, i), "Condicao": "%d/%d" % (i, n),
                      "Parcela": float(i), "DataVenc": due, "Valor": val,
                      "Pago": weighted(rng, [("N", 65), (None, 30), ("", 5)]),
                      "_extra": []})
            if cheque:
                r.update({"NumeroCheque": "%06d" % (cheque["first"] + i), "Banco": cheque["bank"],
                          "Agencia": cheque["ag"], "Conta": cheque["acc"],
                          "Titular": client["name"], "Datavecimento": due})
            rows.append(r)

        extra = []
        if cancelled:
            for r in rows:
                r["Pago"] = "N"
        elif card:
            self.card_states(rows)
        elif cheque:
            self.cheque_states(rows, client, note, day, cheque)
        else:
            extra = self.credit_states(rows, client, entry == "S", day)

        rows += extra
        room = self.m - self.receber_count
        rows = rows[:room]
        for r in rows:
            self.controle += 1
            r["Controle"] = self.controle
            if r.get("_auth"):
                r["numeroautenticacao"] = "%d%s%d" % (self.controle, r["CodigoNota"],
                                                      int(r["CodigoCliente"]))
            for table, x in r.pop("_extra"):
                if table == "caixa" and r.get("numeroautenticacao"):
                    x["numeroautenticacao"] = r["numeroautenticacao"]
                self.out.add(table, x)
            r.pop("_auth", None)
            self.out.add("receber", r)
        self.receber_count += len(rows)

        first_due = dues[0]
        self.out.add("saida", {
            "Codigonota": note, "Data": day, "Tipo": "1",
            "CodigoFilial": float(BRANCH_CODE), "filial": BRANCH_NAME, "DataVenc": first_due,
            "CodigoFuncionario": float(seller), "Codigocliente": float(client["code"]),
            "Cliente": client["name"], "Controle": client["file"], "Tel1": client["tel"],
            "Valor": total, "Total": total, "Condicao": pdesc, "DataNascimento": client["birth"],
            "Parcela": float(n), "Codigoparcela": float(code), "Descparcela": pdesc,
            "Quantidade": n, "Aplicacao": appl, "Comissao": 3.0, "desconto": 0.0,
            "hora": hour, "horafim": hour, "usuario": rng.choice(OPERATORS),
            "ficha": client["file"],
            "Codigocartao": float(card["type"][0]) if card else None,
            "Nomecartao": card["type"][1] if card else None,
            "codigotipocartao": float(card["type"][0]) if card else None,
            "descricaotipocartao": card["type"][1] if card else None,
            "Ncartao": card["num"] if card else None, "Ro": card["ro"] if card else None,
            "endereco": client["street"], "cidade": client["city"],
            "cep": int(client["cep"].replace("-", "")) if client["cep"] else None,
            "numerores": client["number"], "complemento": client["compl"],
            "bairro": client["bairro"], "cpfcnpj": client["cpf"], "nfce": nfce,
            "serienfce": 1 if nfce else None, "horanfce": hour if nfce else None,
            "datanfce": day if nfce else None, "chave": chave, "protocolo": protocolo,
            "TipoNotaFiscal": 65 if nfce else None, "OrigemNota": "V",
            "NFCancelada": "S" if cancelled else "N",
            "tipopagamento": "CANCELADO" if cancelled else kind[:20],
            "cancelado": "S" if cancelled else None})
        for p, q in items:
            pcode, pdesc_item, group, price = p
            self.out.add("itenssaida", {
                "Data": day, "Codigoproduto": float(pcode), "Produto": pdesc_item, "Preco": price,
                "Qt": q, "Codigonota": float(note), "Codigocliente": float(client["code"]),
                "Tel1": client["tel"], "CodigoGrupo": float(group), "Grupo": GROUPS[group],
                "CodigoParcela": float(code), "DescParcela": pdesc,
                "PrecoCusto": rd2(price * 0.48), "CodigoFuncionario": float(seller),
                "Controle": client["file"], "Cliente": client["name"], "Tipo": "1",
                "Comissao": 3.0, "Aplicacao": appl})

    def settle(self, r, when, kind, paid, late_days, hour=None, interest=False):
        """Writes onto r what settling it from the payment window leaves in the row."""
        rng = self.rng
        hour = hour or time_text(rng)
        shift = shift_of(hour)
        user = rng.choice(OPERATORS)
        v = r["Valor"]
        r.update({"Pago": "S", "Tipo": "2", "TotalPg": rd2(paid), "Mdias": float(late_days),
                  "DataQuitacao": when, "DataPago": when, "Fechada": "0",
                  "horafim": hour, "tipopagamento": kind, "Turno": shift, "usuario": user,
                  "TipoRecebimento": "Dpc" if kind == "Valor do Dpc" else kind,
                  "NomeComputador": rng.choice(COMPUTERS), "_auth": True})
        if not r.get("valororiginal") or kind == "Valor do Dpc":
            r["valororiginal"] = v
        if interest:
            d = rd2(paid - v)
            r["valorcomjuros"] = d
            r["juros"] = rd2(d / paid * 100)
        if int(r["CodigoCliente"]) == 571:
            r["tipobaixacartacreditonocrediario"] = "C"
        if kind in CASH_KINDS:
            tipo, especie, cond = CASH_KINDS[kind]
            seller = int(r["CodigoFuncionario"])
            r["_extra"].append(("caixa", {
                "CodigoNota": r["CodigoNota"], "CodigoCliente": r["CodigoCliente"],
                "CodigoFuncionario": float(seller), "Descricao": r["Nome"], "Data": when,
                "Credito": rd2(paid), "Opcao": "2", "Tipo": tipo, "Usuario": user, "Tp": "1",
                "Condicao": cond, "Hora": hour, "Turno": shift, "especie": especie,
                "codigofilial": float(BRANCH_CODE), "filial": BRANCH_NAME, "es": "E",
                "valor": rd2(paid), "NomeFuncionario": self.seller_name[seller],
                "NomeFunciionario": self.seller_name[seller]}))

    def settle_date(self, r, late):
        """A settlement day for r, on time or late, never after today."""
        rng = self.rng
        due = r["DataVenc"]
        if late and (self.today - due).days >= 1:
            return due + dt.timedelta(days=rng.randint(1, min(75, (self.today - due).days)))
        when = due - dt.timedelta(days=rng.choice([0, 0, 0, 1, 2, 3, 5, 7]))
        return min(max(when, r["DataEmissao"]), self.today)

    def pay(self, r, when, cap=None):
        """Settles r on day when, by some payment kind, with late interest when charged."""
        rng = self.rng
        if cap is not None and when >= cap:
            when = max(r["DataEmissao"], cap - dt.timedelta(days=1))
        late_days = max(0, (when - r["DataVenc"]).days)
        kind = weighted(rng, KIND_WEIGHTS)
        v = r["Valor"]
        if late_days and rng.random() < 0.6:
            self.settle(r, when, kind, rd2(v + v * late_days * JUROS_DIA / 100), late_days,
                        interest=True)
        else:
            self.settle(r, when, kind, v, late_days)

    def credit_states(self, rows, client, with_entry, day):
        """Store-credit installments: paid, late, partly paid, refinanced or reported."""
        rng = self.rng
        today = self.today
        extra = []
        profile = client["profile"]
        refin_at = None
        if (profile != "good" and client is not self.cash_client
                and rows[0]["CodigoParcela"] != -1.0 and rows[0]["nfce"] is None
                and rng.random() < 0.3):
            overdue = [i for i, r in enumerate(rows)
                       if r["DataVenc"] < today - dt.timedelta(days=10) and i > 0]
            if overdue:
                k = rng.choice(overdue[:3])
                refin_at = min(today, rows[k]["DataVenc"] + dt.timedelta(days=rng.randint(5, 60)))
        stopped = False
        for i, r in enumerate(rows):
            due = r["DataVenc"]
            if with_entry and i == 0:
                self.settle(r, day, rng.choice(["Dinheiro", "Dinheiro", "Pix"]), r["Valor"], 0,
                            hour=r["hora"])
                continue
            if refin_at is not None and i >= k:
                continue  # replaced by the refinancing below
            if due < today:
                if profile == "good":
                    paid = rng.random() < 0.97
                    late = rng.random() < 0.12
                elif profile == "late":
                    paid = rng.random() < (0.5 if stopped else 0.88)
                    late = rng.random() < 0.7
                else:
                    paid = not stopped and rng.random() < 0.6
                    late = True
                if refin_at is not None:
                    paid = True
                if not paid:
                    stopped = True
                    continue
                when = self.settle_date(r, late)
                if rng.random() < 0.045 and refin_at is None:
                    extra += self.partial(r, when)
                else:
                    self.pay(r, when, cap=refin_at)
            elif rng.random() < 0.06:
                when = today - dt.timedelta(days=rng.randint(0, 25))
                if when >= r["DataEmissao"]:
                    self.pay(r, when)
        if refin_at is not None:
            extra += self.refinance(rows, client, refin_at)
        elif profile == "bad":
            open_late = [r for r in rows if r.get("DataQuitacao") is None
                         and r["DataVenc"] < today - dt.timedelta(days=90)]
            if open_late and rng.random() < 0.35:
                when = min(today, open_late[0]["DataVenc"]
                           + dt.timedelta(days=rng.randint(60, 90)))
                for r in rows:
                    if r.get("DataQuitacao") is None and r["DataVenc"] < when:
                        r["dInativotLan"] = when
                        r["dataInativoparcela"] = when
                        r["Impinvativo"] = "S"
                        r["iCodTitulotlan"] = "True"
                client["spc"] = True
        return extra

    def partial(self, r, when):
        """Settles part of r in cash and returns the open remainder row."""
        rng = self.rng
        v = r["Valor"]
        amount = rd2(v * rng.uniform(0.3, 0.8))
        hour = time_text(rng)
        self.settle(r, when, "Valor do Dpc", amount, max(0, (when - r["DataVenc"]).days),
                    hour=hour)
        rest = {k: r[k] for k in (
            "CodigoNota", "Controles", "Nome", "CodigoCliente", "Total", "DataEmissao",
            "DataVenc", "NomeFuncionario", "CodigoFuncionario", "Comissao", "Condicaovenda",
            "CodigoParcela", "Opcaovenda", "Aplicacao", "tipovenda", "DescParcela")}
        rest.update({"Tipo": "2", "Condicao": "DPC / 1", "Valor": rd2(v - amount),
                     "valororiginal": v, "Fechada": "0", "CodigoFilial": float(BRANCH_CODE),
                     "filial": BRANCH_NAME, "Pago": "N", "hora": hour, "Turno": shift_of(hour),
                     "NFCancelada": "N", "_extra": []})
        if int(r["CodigoCliente"]) == 571:
            rest["tipobaixacartacreditonocrediario"] = "C"
        if rng.random() < 0.3 and when < self.today:
            later = when + dt.timedelta(days=rng.randint(1, min(45, (self.today - when).days)))
            self.pay(rest, later)
        return [rest]

    def refinance(self, rows, client, when):
        """Marks the open installments as replaced and returns the rows of the new plan."""
        rng = self.rng
        old = [r for r in rows if r.get("DataQuitacao") is None]
        note = rows[0]["CodigoNota"]
        ref = "REFIN. NOTA %s DE %s" % (note, when.strftime("%d/%m/%Y"))
        total_old = rd2(sum(r["Valor"] for r in old))
        late_days = max(0, (when - old[0]["DataVenc"]).days)
        if rng.random() < 0.5:
            amount = rd2(total_old + total_old * late_days * JUROS_DIA / 100)
        else:
            amount = total_old
        for r in old:
            r.update({"Pago": "F", "TotalPg": r["Valor"], "valorcomjuros": 0.0,
                      "reffinan": ref, "datareffinan": when})
        code, pdesc, qty, entry, appl, kind, perc = PLAN[weighted(rng, [(1, 4), (3, 3), (2, 3)])]
        base_value = old[0]["Valor"]
        seller = int(old[0]["CodigoFuncionario"])
        common = {
            "CodigoNota": note, "Tipo": "2", "DataEmissao": when, "Total": amount,
            "valororiginal": base_value, "CodigoCliente": old[0]["CodigoCliente"],
            "Nome": old[0]["Nome"], "CodigoFuncionario": float(seller),
            "NomeFuncionario": self.seller_name[seller], "ficha": client["file"],
            "cpf": client["cpf"], "CodigoFilial": float(BRANCH_CODE), "NomeFilial": BRANCH_NAME,
            "DescParcela": pdesc, "CodigoParcela": float(code), "Aplicacao": appl,
            "Opcaovenda": kind, "Condicaovenda": kind, "Percentual": 0.0, "Comissao": 2.0,
            "reffinan": ref, "datareffinan": when, "NFCancelada": "N"}
        new = []
        down = 0.0
        if entry == "S":
            down = rd2(amount * rng.choice([0.1, 0.2, 0.25]))
            hour = time_text(rng)
            method = rng.choice(["DINHEIRO", "DINHEIRO", "PIX"])
            r = dict(common)
            r.update({"Controles": note + "/0", "Condicao": "ENTRADA REFINAN.",
                      "DataVenc": when, "DataQuitacao": when, "Pago": "S", "TotalPg": down,
                      "Valor": down, "_extra": [("caixa", {
                          "Tipo": "CREDITO", "Descricao": r["Nome"], "Opcao": "2", "Tp": "1",
                          "es": "E", "CodigoNota": note, "CodigoCliente": r["CodigoCliente"],
                          "Data": when, "Credito": down, "valor": down, "especie": method,
                          "Condicao": "BAIXA CONTA A RECEBER", "Hora": hour,
                          "datamovimento": when})]})
            new.append(r)
        # rounded to cents with the difference on the last, so the plan adds up
        each = rd2((amount - down) / qty)
        values = [each] * qty
        values[-1] = rd2(amount - down - each * (qty - 1))
        for i, v in enumerate(values, 1):
            r = dict(common)
            r.update({"Controles": "%s/%d" % (note, i), "Condicao": "%dº PARCELA REFINAN." % i,
                      "DataVenc": when + dt.timedelta(days=30 * i), "Valor": v,
                      "Desconto": rd2(total_old - amount), "_extra": []})
            due = r["DataVenc"]
            if due < self.today and rng.random() < 0.6:
                self.pay(r, self.settle_date(r, rng.random() < 0.5))
            new.append(r)
        return new

    def card_states(self, rows):
        """Card installments are settled in batches when the operator pays them out."""
        rng = self.rng
        for r in rows:
            due = r["DataVenc"]
            if due <= self.today and rng.random() < 0.96:
                when = min(self.today, due + dt.timedelta(days=rng.choice([0, 0, 1, 2, 3])))
                r.update({"TotalPg": r["Valor"], "DataQuitacao": when, "Pago": "S"})

    def cheque_states(self, rows, client, note, day, cheque):
        """Post-dated cheques: deposited on the due day, a few returned unpaid."""
        rng = self.rng
        for r in rows:
            due = r["DataVenc"]
            row = {"Codigonota": float(note), "Controles": str(note), "Banco": cheque["bank"],
                   "Agencia": cheque["ag"], "Conta": cheque["acc"], "Cheque": r["NumeroCheque"],
                   "Emitente": client["name"], "Cpf": client["cpf"], "DataEmissao": day,
                   "Datavencimento": due, "Valor": r["Valor"], "Local": client["city"],
                   "data": day, "tipo": "PRE-DATADO", "condicao": "CHEQUE",
                   "usuario": rng.choice(OPERATORS)}
            when = due + dt.timedelta(days=rng.randint(0, 2))
            if when <= self.today:
                if rng.random() < 0.92:
                    self.settle(r, when, "Cheque", r["Valor"], 0)
                    row["DataBaixa"] = when
                else:
                    row["DataDevolucao"] = when
            r["_extra"].append(("cheque", row))

    def payables(self):
        rng = self.rng
        months = HISTORY_DAYS // 30 + 1
        nota = 10000
        for k in range(months):
            first = add_months(dt.date(self.start.year, self.start.month, 1), k)
            for code, name in SUPPLIERS:
                if code <= 3 and rng.random() < 0.4:
                    continue
                nota += 1
                due = first + dt.timedelta(days=rng.randint(4, 27))
                issued = due - dt.timedelta(days=rng.choice([10, 20, 30]))
                if code <= 3:
                    value = rd2(rng.uniform(1500, 9000))
                else:
                    value = {4: rd2(rng.uniform(380, 720)), 5: 3200.0, 6: 950.0}[code]
                paid = due <= self.today and rng.random() < 0.95
                self.out.add("pagar", {
                    "NOTA": str(nota), "CodigoFornecedor": float(code), "CodigoFilial": 1.0,
                    "Nome": name, "DataEmissao": issued, "Datavenc": due,
                    "DataQuitacao": due if paid else None, "VALOR": value, "Posicao": "A",
                    "Pago": "S" if paid else "N"})

    def run(self):
        self.company()
        self.clients()
        while self.receber_count < self.m:
            progress = self.receber_count / self.m
            self.sale(self.start + dt.timedelta(days=int(progress * HISTORY_DAYS)))
        self.write_clients()
        self.payables()


def main():
    ap = argparse.ArgumentParser(
        description="Deterministic demo data for the receivables program.")
    ap.add_argument("--seed", type=int, required=True)
    ap.add_argument("--installments", type=int, required=True, help="number of receber rows")
    ap.add_argument("--today", type=dt.date.fromisoformat, default=dt.date.today(),
                    help="reference date, YYYY-MM-DD (default: the current date)")
    args = ap.parse_args()
    if args.installments < 1:
        ap.error("--installments must be at least 1")
    g = Generator(args.seed, args.installments, args.today)
    g.run()
    header = "-- gen_demo.py --seed %d --installments %d --today %s\n" % (
        args.seed, args.installments, args.today.isoformat())
    order = ["configuracao", "filial", "turno", "funcionario", "tipocartao", "conta", "parcela",
             "produto", "cliente", "saida", "itenssaida", "receber", "caixa", "cheque", "pagar"]
    out = open(sys.stdout.fileno(), "w", encoding="utf-8", newline="\n", closefd=False)
    g.out.write(out, order, header)
    out.flush()


if __name__ == "__main__":
    main()
