#pragma once
// Plain-text clipboard; the Qt one lives in gui/.
#include <string>

class Clipboard {
  public:
    virtual ~Clipboard() = default;
    virtual std::string GetText() = 0;
    virtual void SetText(const std::string& text) = 0;
    // The clipboard holds text, possibly empty; a picture or nothing at all is no text.
    virtual bool HasText() = 0;
};

class MemoryClipboard : public Clipboard {
  public:
    std::string GetText() override { return text_; }
    void SetText(const std::string& text) override {
        text_ = text;
        hasText_ = true;
    }
    bool HasText() override { return hasText_; }
    // What another program leaves when it copies something that is not text.
    void SetNoText() {
        text_.clear();
        hasText_ = false;
    }

  private:
    std::string text_;
    bool hasText_ = false;
};
