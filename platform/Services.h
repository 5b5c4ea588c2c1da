#pragma once
// The outside services a running program uses; the one Program object sets them.
#include "platform/Clipboard.h"
#include "platform/Dialogs.h"
#include "platform/Report.h"
#include "platform/Shell.h"

struct Services {
    Dialogs* dialogs = nullptr;
    Clipboard* clipboard = nullptr;
    Shell* shell = nullptr;
    Printers* printers = nullptr;
    ReportService* reports = nullptr;
};

Services& CurrentServices();
inline Dialogs& Dlg() { return *CurrentServices().dialogs; }
inline Clipboard& Clip() { return *CurrentServices().clipboard; }
inline Shell& ShellSvc() { return *CurrentServices().shell; }
inline Printers& PrinterSvc() { return *CurrentServices().printers; }
inline ReportService& ReportSvc() { return *CurrentServices().reports; }
