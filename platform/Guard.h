#pragma once
// Runs a handler so that no exception escapes it unreported: what escapes is
// shown in the standard error box and the program keeps running.
#include "platform/Services.h"

#include <exception>
#include <string>

template <typename F> bool Guard(F&& handler) {
    try {
        handler();
        return true;
    } catch (const UnexpectedDialog&) {
        throw; // a test script's failure must reach the test
    } catch (const std::exception& e) {
        if (CurrentServices().dialogs) Dlg().ShowException(e.what());
    } catch (...) {
        if (CurrentServices().dialogs) Dlg().ShowException("unknown error");
    }
    return false;
}
