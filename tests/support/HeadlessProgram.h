#pragma once
// A whole program over a temporary folder with scripted services, for the timing
// programs that run outside a test.
#include "mainwindow/Program.h"
#include "platform/Clipboard.h"
#include "platform/Dialogs.h"
#include "platform/Shell.h"
#include "support/TempDir.h"

struct HeadlessProgram {
    TempDir home;
    ScriptedDialogs dialogs;
    MemoryClipboard clipboard;
    RecordingShell shell;
    Program program{ProgramEnv{home.path(), "tavren", &dialogs, &clipboard, &shell}};
};
