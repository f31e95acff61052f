#pragma once

#include <QString>

// The vendor's name and contact line shown in window titles.
namespace cr::vendor {
inline QString tagline() { return QStringLiteral("Telvo Sistemas - Automação Comercial"); }
inline QString contact() {
    return QStringLiteral("Telvo Sistemas - Suporte (37) 3222-7000 / (37) 99955-7000");
}
}  // namespace cr::vendor
