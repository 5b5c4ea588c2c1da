#include "components/NumberEditModel.h"

#include "platform/Text.h"

namespace components {

std::string NumberText(int value, bool comma, bool yen, const GroupDigits& group) {
    const std::string digits = comma ? group(value) : IntToStr(value);
    return yen ? kYenMark + digits : digits;
}

NumberEditModel::NumberEditModel(GroupDigits group) : group_(std::move(group)) {
    if (!group_) group_ = [](int v) { return FormatThousands(v); };
}

void NumberEditModel::SetValue(int value) {
    value_ = value;
    show(editing_ ? IntToStr(value_) : NumberText(value_, comma_, yen_, group_));
}

void NumberEditModel::SetComma(bool on) {
    comma_ = on;
    SetValue(value_);
}

void NumberEditModel::SetYen(bool on) {
    yen_ = on;
    SetValue(value_);
}

void NumberEditModel::SetText(const std::string& text) {
    SetValue(StrToIntDef(text, 0));
}

void NumberEditModel::KeyPress(char32_t& key) {
    if (key == U'\r' || key == U'\n' || (key >= 33 && (key < U'0' || key > U'9'))) key = 0;
}

void NumberEditModel::DoEnter() {
    editing_ = true;
    SetValue(value_);
}

void NumberEditModel::DoExit() {
    editing_ = false;
    SetText(text_);
}

void NumberEditModel::show(const std::string& text) {
    text_ = text;
    if (OnText) OnText();
}

} // namespace components
