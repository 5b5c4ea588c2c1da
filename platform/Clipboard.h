#pragma once
// Plain-text clipboard; the Qt one lives in gui/.
#include <string>

class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual std::string GetText() = 0;
    virtual void SetText(const std::string& text) = 0;
};

class MemoryClipboard : public Clipboard {
public:
    std::string GetText() override { return text_; }
    void SetText(const std::string& text) override { text_ = text; }

private:
    std::string text_;
};
