#pragma once
// A whole program over a temporary program folder, with scripted dialogs, an
// in-memory clipboard and a recording shell, as every form test needs it.
#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "platform/Clipboard.h"
#include "platform/Dialogs.h"
#include "platform/Shell.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>

class ProgramFixture : public ::testing::Test {
protected:
    TempDir home;
    ScriptedDialogs dialogs;
    MemoryClipboard clipboard;
    RecordingShell shell;
    std::unique_ptr<Program> program;

    void SetUp() override { Start(); }
    void TearDown() override {
        program.reset();
        EXPECT_FALSE(dialogs.Pending()) << "scripted answers left unused";
    }

    // (Re)creates the program, as a new run over the same program folder.
    void Start() {
        program.reset();
        program = std::make_unique<Program>(ProgramEnv{home.path(), "tavren", &dialogs, &clipboard, &shell});
    }
    TMainForm& form() { return *program->mainForm; }
};
