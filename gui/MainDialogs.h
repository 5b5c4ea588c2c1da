#pragma once
// Registers the Qt windows of the main window's dialogs (edition list, race folder,
// advanced starts, list chooser, runner exchange, result output, waiting times,
// clock times and settings). Called once at start-up, before the main window is shown.
void RegisterMainWindowDialogs();
