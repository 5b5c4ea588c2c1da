#pragma once
// The number edit without Qt: a whole number shown with optional thousands
// separators and a yen mark, edited as plain digits.
#include <functional>
#include <string>

namespace components {

// The value's digits with the locale's group separators ("1,234,567").
using GroupDigits = std::function<std::string(int value)>;

inline constexpr const char* kYenMark = "¥"; // U+00A5

// How the box shows a value.
std::string NumberText(int value, bool comma, bool yen, const GroupDigits& group);

class NumberEditModel {
  public:
    explicit NumberEditModel(GroupDigits group);

    int Value() const { return value_; }
    bool Comma() const { return comma_; }
    bool Yen() const { return yen_; }
    // While the box is being edited the value shows as plain digits, so that leaving
    // reads it back unchanged.
    void SetValue(int value);
    void SetComma(bool on);
    void SetYen(bool on);
    // Reads the text as a whole number (0 when it is not one) and shows it formatted.
    void SetText(const std::string& text);
    // The box's text as it stands.
    const std::string& GetText() const { return text_; }
    // What the user typed, kept as typed.
    void EditText(const std::string& text) { text_ = text; }

    // A typed character: Enter and every printable character other than a digit
    // become 0 (swallowed); control characters and the blank pass.
    static void KeyPress(char32_t& key);
    // Focus enters: plain digits for editing.
    void DoEnter();
    // Focus leaves: the typed text becomes the value, shown formatted.
    void DoExit();
    bool Editing() const { return editing_; }

    std::function<void()> OnText; // the model changed the text

  private:
    void show(const std::string& text);

    GroupDigits group_;
    int value_ = 0;
    bool comma_ = false;
    bool yen_ = false;
    bool editing_ = false;
    std::string text_ = "0";
};

} // namespace components
