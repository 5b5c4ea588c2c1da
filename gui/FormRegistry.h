#pragma once
// Which Qt window shows which headless form, by the form's name. The modal dialog
// service looks dialogs up here; the main window follows the modeless ones.
//
// Register from code that runs at start-up (not from static initialisers): gui/ is a
// static library, and an object file nothing refers to is left out of the program.
#include "platform/Form.h"

#include <functional>
#include <string>

class QDialog;
class QWidget;

using DialogFactory = std::function<QDialog*(FormBase& form, QWidget* parent)>;
using WindowFactory = std::function<QWidget*(FormBase& form)>;

void RegisterDialog(const std::string& formName, DialogFactory make);
void RegisterWindow(const std::string& formName, WindowFactory make);
// nullptr when no window is registered for the form.
const DialogFactory* FindDialog(const std::string& formName);
const WindowFactory* FindWindow(const std::string& formName);
