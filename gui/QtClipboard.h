#pragma once
#include "platform/Clipboard.h"

class QtClipboard : public Clipboard {
  public:
    std::string GetText() override;
    void SetText(const std::string& text) override;
    bool HasText() override;
};
