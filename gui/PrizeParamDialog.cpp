#include "gui/PrizeParamDialog.h"

#include "gui/Bindings.h"
#include "gui/GridView.h"
#include "gui/QtText.h"
#include "gui/TypedSpinBox.h"
#include "output/TFormPrizeParam.h"
#include "platform/Guard.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>

namespace {

// A press on a spin runs the form's handler first (it turns the input method off).
class SpinPress : public QObject {
  public:
    SpinPress(QSpinBox* box, TFormPrizeParam& form, SpinEdit& m) : QObject(box), form_(form), m_(m) {}
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::MouseButtonPress) Guard([&] { form_.CSpinEdit11MouseDown(m_); });
        return false;
    }

  private:
    TFormPrizeParam& form_;
    SpinEdit& m_;
};

QCheckBox* checkBox(CheckBox& m, QWidget* parent) {
    auto* c = new QCheckBox(parent);
    c->setObjectName(qs(m.Name()));
    bind::check(c, m);
    return c;
}

QPushButton* button(Action& a, QWidget* parent) {
    auto* b = new QPushButton(parent);
    b->setObjectName(qs(a.Name()));
    b->setAutoDefault(false);
    bind::button(b, a);
    return b;
}

} // namespace

PrizeParamDialog::PrizeParamDialog(TFormPrizeParam& form, QWidget* parent)
    : FormDialog(form, parent), form_(form) {
    auto* layout = new QVBoxLayout(this);
    auto* tabs = new QTabWidget(this);
    tabs->setObjectName(qs(form.PageControl1.Name()));
    tabs->addTab(generalPage(), qs(form.PageControl1.PageCaption(0)));
    tabs->addTab(teamPage(), qs(form.PageControl1.PageCaption(1)));
    tabs->addTab(kojinPage(), qs(form.PageControl1.PageCaption(2)));
    tabs->addTab(aliasPage(), qs(form.PageControl1.PageCaption(3)));
    bind::pages(tabs, form.PageControl1);
    layout->addWidget(tabs);
    // A fixed dialog: its size is what its pages need.
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QSpinBox* PrizeParamDialog::spin(SpinEdit& m) {
    auto* s = new TypedSpinBox(this);
    s->setObjectName(qs(m.Name()));
    bind::spin(s, m);
    s->installEventFilter(new SpinPress(s, form_, m));
    QPointer<QSpinBox> p(s);
    auto ime = [p, &m] {
        if (p) p->setAttribute(Qt::WA_InputMethodEnabled, m.Ime() != ImeMode::Close);
    };
    m.Changed.connect(ime);
    ime();
    return s;
}

QGroupBox* PrizeParamDialog::radios(RadioGroup& m, bool vertical) {
    auto* box = new QGroupBox(qs(m.Caption()), this);
    box->setObjectName(qs(m.Name()));
    auto* layout = vertical ? static_cast<QBoxLayout*>(new QVBoxLayout(box)) : new QHBoxLayout(box);
    auto* group = new QButtonGroup(box);
    QPointer<QGroupBox> p(box);
    // The items may be replaced while the dialog shows: the buttons follow them.
    auto show = [p, group, layout, &m] {
        if (!p) return;
        const auto& items = m.Items();
        while (group->buttons().size() < static_cast<int>(items.size())) {
            auto* r = new QRadioButton(p);
            group->addButton(r, static_cast<int>(group->buttons().size()));
            layout->addWidget(r);
        }
        for (QAbstractButton* b : group->buttons()) {
            const int i = group->id(b);
            const bool used = i < static_cast<int>(items.size());
            b->setVisible(used);
            if (used) b->setText(qs(items[i]));
            QSignalBlocker block(b);
            b->setChecked(i == m.ItemIndex());
        }
        p->setEnabled(m.Enabled());
        p->setVisible(m.Visible());
    };
    m.Changed.connect(show);
    show();
    QObject::connect(group, &QButtonGroup::idClicked, box, [&m](int i) { Guard([&] { m.Click(i); }); });
    return box;
}

QWidget* PrizeParamDialog::generalPage() {
    TFormPrizeParam& f = form_;
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    auto* fonts = new QComboBox(page);
    fonts->setObjectName(qs(f.ComboBox1.Name()));
    bind::combo(fonts, f.ComboBox1, [&f] { f.ComboBox1Change(); });
    form->addRow(QStringLiteral("フォント名"), fonts);
    auto* printers = new QComboBox(page);
    printers->setObjectName(qs(f.ComboBox2.Name()));
    bind::combo(printers, f.ComboBox2, [&f] { f.ComboBox2Change(); });
    form->addRow(QStringLiteral("賞状用プリンタ名"), printers);
    const char* labels[4] = {"表彰者1 組織名", "役職 氏名", "表彰者2 組織名", "役職 氏名"};
    Edit* edits[4] = {&f.LabeledEdit1, &f.LabeledEdit2, &f.LabeledEdit3, &f.LabeledEdit4};
    for (int i = 0; i < 4; ++i) {
        auto* e = new QLineEdit(page);
        e->setObjectName(qs(edits[i]->Name()));
        e->setMinimumWidth(280);
        bind::edit(e, *edits[i]);
        form->addRow(QString::fromUtf8(labels[i]), e);
    }
    form->addRow(radios(f.RG_ddisp, false));
    return page;
}

QWidget* PrizeParamDialog::teamPage() {
    TFormPrizeParam& f = form_;
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    auto* places = new QGroupBox(QStringLiteral("団体表彰対象順位"), page);
    auto* pl = new QFormLayout(places);
    pl->addRow(QStringLiteral("総合"), spin(f.CSPZNum1));
    pl->addRow(QStringLiteral("ｸﾗｽ"), spin(f.CSPZNum2));
    pl->addRow(QStringLiteral("躍進"), spin(f.CSPZNum3));
    grid->addWidget(places, 0, 0);

    auto* fonts = new QGroupBox(QStringLiteral("ﾌｫﾝﾄｻｲｽﾞ"), page);
    auto* fl = new QFormLayout(fonts);
    const char* fontLabels[9] = {"賞",     "順位",       "記録",     "チーム名", "本文",
                                 "年月日", "表彰組織名", "表彰者名", "ﾒﾝﾊﾞｰ名"};
    for (int i = 0; i < 9; ++i)
        fl->addRow(QString::fromUtf8(fontLabels[i]), spin(f.CSF[i]));
    fl->addRow(button(f.Button1, fonts));
    grid->addWidget(fonts, 0, 1, 3, 1);

    auto* gaps = new QGroupBox(QStringLiteral("余白(mm)"), page);
    auto* gl = new QFormLayout(gaps);
    const char* gapLabels[7] = {"賞名まで", "ﾎﾞﾃﾞｨ端", "組織ｲﾝﾃﾞﾝﾄ", "氏名ｲﾝﾃﾞﾝﾄ",
                                "ﾎﾞﾃﾞｨ前",  "ﾎﾞﾃﾞｨ後", "ﾁｰﾑ名後"};
    for (int i = 0; i < 7; ++i)
        gl->addRow(QString::fromUtf8(gapLabels[i]), spin(f.tm_gap[i]));
    auto* topLabel = new QLabel(gaps);
    topLabel->setObjectName(qs(f.t_mgLSLabel.Name()));
    bind::label(topLabel, f.t_mgLSLabel);
    bind::control(topLabel, f.t_mgLSLabel);
    gl->addRow(topLabel, spin(f.t_mgLS));
    gl->addRow(QStringLiteral("日付後ｷﾞｬｯﾌﾟ"), spin(f.CS_date_gap));
    gl->addRow(button(f.Button3, gaps));
    grid->addWidget(gaps, 0, 2, 3, 1);

    auto* paper = new QWidget(page);
    auto* col = new QVBoxLayout(paper);
    col->setContentsMargins(0, 0, 0, 0);
    col->addWidget(radios(f.RadioGroup6, false));
    col->addWidget(radios(f.RadioGroup2, false));
    col->addWidget(radios(f.RadioGroup3, false));
    grid->addWidget(paper, 1, 0);

    auto* checks = new QWidget(page);
    auto* cl = new QVBoxLayout(checks);
    cl->setContentsMargins(0, 0, 0, 0);
    for (CheckBox* c : {&f.CBoxList, &f.CheckBox2, &f.CheckBox3, &f.CBoxPmember, &f.CB_mimicKojin})
        cl->addWidget(checkBox(*c, checks));
    cl->addWidget(button(f.Button5, checks));
    cl->addStretch();
    grid->addWidget(checks, 2, 0);
    return page;
}

QWidget* PrizeParamDialog::kojinPage() {
    TFormPrizeParam& f = form_;
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    auto* title = new QGroupBox(QStringLiteral("賞タイトル"), page);
    auto* tl = new QVBoxLayout(title);
    tl->addWidget(radios(f.RadioGroup1));
    tl->addWidget(checkBox(f.CheckBox1, title));
    auto* tf = new QFormLayout;
    tf->addRow(QStringLiteral("賞下ｷﾞｬｯﾌﾟ(mm)"), spin(f.CSpinEdit2));
    tl->addLayout(tf);
    grid->addWidget(title, 0, 0);

    auto* race = new QGroupBox(QStringLiteral("大会名"), page);
    auto* rl = new QFormLayout(race);
    rl->addRow(QStringLiteral("大会名下ｷﾞｬｯﾌﾟ(mm)"), spin(f.CSpinEdit3));
    rl->addRow(QStringLiteral("改行文字位置"), spin(f.CS_CRPos));
    grid->addWidget(race, 1, 0);

    auto* fonts = new QGroupBox(QStringLiteral("ﾌｫﾝﾄｻｲｽﾞ"), page);
    auto* fl = new QFormLayout(fonts);
    const char* fontLabels[9] = {"賞",     "大会名",    "区間名", "記録",  "選手名",
                                 "所属名", "栄光を...", "年月日", "表彰者"};
    for (int i = 0; i < 9; ++i)
        fl->addRow(QString::fromUtf8(fontLabels[i]), spin(f.CSFont[i]));
    fl->addRow(button(f.Button2, fonts));
    grid->addWidget(fonts, 0, 1, 3, 1);

    auto* gaps = new QGroupBox(QStringLiteral("余白(mm)"), page);
    auto* gl = new QFormLayout(gaps);
    const char* gapLabels[6] = {"賞名まで", "組織名ｲﾝﾃﾞﾝﾄ", "氏名ｲﾝﾃﾞﾝﾄ", "右余白", "栄光前", "栄光後"};
    for (int i = 0; i < 6; ++i)
        gl->addRow(QString::fromUtf8(gapLabels[i]), spin(f.kj_gap[i]));
    gl->addRow(QStringLiteral("日付後ｷﾞｬｯﾌﾟ"), spin(f.CS_date_gap2));
    gl->addRow(button(f.Button4, gaps));
    grid->addWidget(gaps, 0, 2, 3, 1);

    auto* more = new QWidget(page);
    auto* ml = new QVBoxLayout(more);
    ml->setContentsMargins(0, 0, 0, 0);
    ml->addWidget(radios(f.RadioGroup4, false));
    ml->addWidget(button(f.Button6, more));
    ml->addStretch();
    grid->addWidget(more, 2, 0);
    return page;
}

QWidget* PrizeParamDialog::aliasPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto* view = new GridView(form_.ValueListEditor1, page);
    bind::control(view, form_.ValueListEditor1);
    layout->addWidget(view);
    return page;
}
