#pragma once
// TNumberEdit: a right-aligned edit box for whole numbers with the input method off.
// Only digits can be typed; away from the box the value shows with thousands
// separators (Comma) and a yen mark (Yen) when those are set.
#include "components/NumberEditModel.h"

#include <QLineEdit>

namespace components {

class TNumberEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(int Value READ Value WRITE SetValue)
    Q_PROPERTY(bool Comma READ Comma WRITE SetComma)
    Q_PROPERTY(bool Yen READ Yen WRITE SetYen)
    Q_PROPERTY(QString Text READ GetQText WRITE SetQText)
  public:
    explicit TNumberEdit(QWidget* parent = nullptr);

    NumberEditModel& Model() { return model_; }

    int Value() const { return model_.Value(); }
    bool Comma() const { return model_.Comma(); }
    bool Yen() const { return model_.Yen(); }
    void SetValue(int value) { model_.SetValue(value); }
    void SetComma(bool on) { model_.SetComma(on); }
    void SetYen(bool on) { model_.SetYen(on); }
    void SetText(const std::string& text) { model_.SetText(text); }
    std::string GetText() const { return model_.GetText(); }

  protected:
    // The Windows creation parameters' counterpart: right alignment, no input method.
    void CreateParams();
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

  private:
    QString GetQText() const;
    void SetQText(const QString& text);

    NumberEditModel model_;
    bool showing_ = false; // the model is putting its text into the box
    bool edited_ = false;  // the change under way is the user's
};

namespace NumberEdit {
// Puts TNumberEdit on the palette page "Samples".
void Register();
} // namespace NumberEdit

} // namespace components
