#pragma once

#include <QStringList>

namespace reports {

// Exit statuses of the command-line export.
enum HeadlessExit {
    ExitOk = 0,
    ExitUsage = 1,     // unknown report, bad dates, bad format, missing option
    ExitDatabase = 2,  // the server refused or failed
    ExitWrite = 3,     // the output file could not be written
    ExitNothing = 4,   // FILTRORELATORIOFISCAL outside F, N, A: nothing produced
};

// Runs one report form to a file without any window. `args` as the program
// gets them (the first is the program's name). Messages go to stderr.
int runHeadless(const QStringList &args);

}  // namespace reports
