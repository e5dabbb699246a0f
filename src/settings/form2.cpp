#include "settings/form2.h"

#include "platform/colourpicker.h"
#include "settings/swatch.h"
#include "settings/tabpage.h"
#include "settings/versionpage.h"
#include "store/settingsstore.h"
#include "store/storedtext.h"
#include "widgets/appicon.h"
#include "widgets/designfont.h"
#include "widgets/twips.h"
#include "widgets/warning.h"

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>

namespace {

constexpr TwipRect kClientArea{0, 0, 5445, 5520};
constexpr int kSettingsTab = 0;
constexpr int kVersionTab = 1;
constexpr int kDialogFontPixels = 12; // 9 points at 96 dpi, the dialog face's usual size

// What a reset restores, and the swatches' design fills: the first-run colours.
QColor defaultColour(Key key) { return *storedtext::toColour(QString::fromLatin1(keyInfo(key).firstRunDefault)); }

template <typename W>
W *named(W *widget, const char *name, TwipRect box)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(pixelRect(box));
    return widget;
}

QPushButton *button(const QString &caption, QWidget *parent)
{
    auto *pushButton = new QPushButton(caption, parent);
    pushButton->setAutoDefault(false); // Enter must not press a button
    return pushButton;
}

// Stored switch values 0, 1 and 2 are the states clear, ticked and grey.
Qt::CheckState checkStateFor(qint16 value)
{
    switch (value) {
    case 1: return Qt::Checked;
    case 2: return Qt::PartiallyChecked;
    default: return Qt::Unchecked;
    }
}

qint16 valueOf(const QCheckBox *box)
{
    switch (box->checkState()) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    case Qt::Unchecked: break;
    }
    return 0;
}

void setAllEnabled(std::initializer_list<QWidget *> widgets, bool enabled)
{
    for (QWidget *widget : widgets)
        widget->setEnabled(enabled);
}

} // namespace

Form2::Form2(SettingsStore &store, ColourPicker &picker, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint),
      m_store(store), m_picker(picker)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("information"));
    setWindowIcon(appIcon());
    setFixedSize(pixelRect(kClientArea).size());
    setFont(designFont(kDialogFontPixels));

    SSTab1 = named(new QTabWidget(this), "SSTab1", {120, 120, 5205, 4815});
    Command1 = named(button(QStringLiteral("OK"), this), "Command1", {3960, 5040, 1335, 375});
    buildSettingsPage();
    SSTab1->insertTab(kVersionTab, new VersionPage(SSTab1), QStringLiteral("バージョン情報"));
    SSTab1->setCurrentIndex(kVersionTab);
    setFocusOrder();

    if (const QScreen *screen = parent ? parent->screen() : nullptr)
        move(screen->availableGeometry().center() - rect().center());

    connectHandlers();
}

// Loaded as it is first shown, so that whoever opened it has connected to what it announces.
void Form2::showEvent(QShowEvent *event)
{
    if (!m_loaded) {
        Form_Load();
        m_loaded = true;
    }
    QDialog::showEvent(event);
}

void Form2::buildSettingsPage()
{
    auto *page = new TabPage(SSTab1);
    SSTab1->insertTab(kSettingsTab, page, QStringLiteral("設定"));

    Frame1 = page->place(named(new QGroupBox(QStringLiteral("配色設定"), page), "Frame1", {}), {120, 480, 2295, 4215});
    Label1 = named(new QLabel(QStringLiteral("背景色"), Frame1), "Label1", {240, 360, 615, 255});
    Shape1 = named(new Swatch(defaultColour(Key::ColorB), Frame1), "Shape1", {240, 600, 615, 375});
    Command2 = named(button(QStringLiteral("配色変更"), Frame1), "Command2", {960, 600, 1095, 375});
    Label2 = named(new QLabel(QStringLiteral("文字色"), Frame1), "Label2", {240, 1200, 615, 255});
    Shape2 = named(new Swatch(defaultColour(Key::ColorF), Frame1), "Shape2", {240, 1440, 615, 375});
    Command3 = named(button(QStringLiteral("配色変更"), Frame1), "Command3", {960, 1440, 1095, 375});
    Label3 = named(new QLabel(QStringLiteral("日曜特別色"), Frame1), "Label3", {240, 2040, 975, 255});
    Shape3 = named(new Swatch(defaultColour(Key::ColorS), Frame1), "Shape3", {240, 2280, 615, 375});
    Command4 = named(button(QStringLiteral("配色変更"), Frame1), "Command4", {960, 2280, 1095, 375});
    Label4 = named(new QLabel(QStringLiteral("テレホカラー"), Frame1), "Label4", {240, 2880, 975, 255});
    Shape4 = named(new Swatch(defaultColour(Key::ColorTel), Frame1), "Shape4", {240, 3120, 615, 375});
    Command5 = named(button(QStringLiteral("配色変更"), Frame1), "Command5", {960, 3120, 1095, 375});
    Command6 = named(button(QStringLiteral("配色リセット"), Frame1), "Command6", {240, 3720, 1815, 345});
    for (const auto &[swatch, caption] : {std::pair{Shape1, Label1}, {Shape2, Label2}, {Shape3, Label3}, {Shape4, Label4}})
        swatch->setAccessibleName(caption->text());

    Frame2 = page->place(named(new QGroupBox(QStringLiteral("特殊機能設定"), page), "Frame2", {}), {2520, 480, 2535, 4215});
    Check1 = named(new QCheckBox(QStringLiteral("時報調整機能"), Frame2), "Check1", {240, 240, 1455, 375});
    Check2 = named(new QCheckBox(QStringLiteral("日曜特別色"), Frame2), "Check2", {240, 600, 1335, 375});
    Frame3 = named(new QGroupBox(QStringLiteral("日曜特別色詳細"), Frame2), "Frame3", {480, 960, 1935, 975});
    Option1 = named(new QRadioButton(QStringLiteral("曜日部分のみ"), Frame3), "Option1", {240, 240, 1455, 255});
    Option2 = named(new QRadioButton(QStringLiteral("全ての文字"), Frame3), "Option2", {240, 600, 1575, 255});
    Check3 = named(new QCheckBox(QStringLiteral("テレホモード"), Frame2), "Check3", {240, 2040, 1335, 255});
    Frame4 = named(new QGroupBox(QStringLiteral("テレホモード詳細"), Frame2), "Frame4", {480, 2400, 1935, 1695});
    Check5 = named(new QCheckBox(QStringLiteral("テレホカウンター"), Frame4), "Check5", {120, 240, 1575, 255});
    Check4 = named(new QCheckBox(QStringLiteral("告知文字表示"), Frame4), "Check4", {120, 600, 1455, 255});
    Option3 = named(new QRadioButton(QStringLiteral("告知文字のみ"), Frame4), "Option3", {240, 960, 1455, 180});
    Option4 = named(new QRadioButton(QStringLiteral("全ての文字"), Frame4), "Option4", {240, 1320, 1455, 255});

    // The design state that start-up works from.
    Check1->setChecked(true);
    Check4->setChecked(true);
    Check5->setChecked(true);
    Option1->setChecked(true);
    Option3->setChecked(true);
    UpdateEnabledStates();
}

void Form2::setFocusOrder()
{
    QWidget *const order[] = {SSTab1, Command1, Command2, Command3, Command4, Command5, Check1, Check2,
                              Option1, Option2, Check3, Check4, Option3, Option4, Command6, Check5};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

// A change the program makes to a switch runs the same handler as a click: start-up relies on it.
void Form2::connectHandlers()
{
    connect(Check1, &QCheckBox::stateChanged, this, &Form2::Check1_Click);
    connect(Check2, &QCheckBox::stateChanged, this, &Form2::Check2_Click);
    connect(Check3, &QCheckBox::stateChanged, this, &Form2::Check3_Click);
    connect(Check4, &QCheckBox::stateChanged, this, &Form2::Check4_Click);
    connect(Check5, &QCheckBox::stateChanged, this, &Form2::Check5_Click);
    connect(Option1, &QRadioButton::toggled, this, &Form2::Option1_Click);
    connect(Option2, &QRadioButton::toggled, this, &Form2::Option2_Click);
    connect(Option3, &QRadioButton::toggled, this, &Form2::Option3_Click);
    connect(Option4, &QRadioButton::toggled, this, &Form2::Option4_Click);
    connect(Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form2::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form2::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Form2::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &Form2::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &Form2::Command6_Click);
}

void Form2::Form_Load()
{
    m_store.Refresh();
    loadSwatch(Shape1, Key::ColorB);
    loadSwatch(Shape2, Key::ColorF);
    loadSwatch(Shape3, Key::ColorS);
    loadSwatch(Shape4, Key::ColorTel);

    Check1->setCheckState(checkStateFor(m_store.GetSwitch(Key::Sp1)));
    Check2->setCheckState(checkStateFor(m_store.GetSwitch(Key::Sp2)));
    (m_store.GetSwitch(Key::Sp2i) == 0 ? Option1 : Option2)->setChecked(true);

    const qint16 telS1 = m_store.GetSwitch(Key::TelS1);
    const qint16 telS2 = m_store.GetSwitch(Key::TelS2);
    Check3->setCheckState(checkStateFor(m_store.GetSwitch(Key::Tel)));
    Check4->setCheckState(telS1 == 1 ? Qt::Checked : Qt::Unchecked);
    if (telS2 == 1)
        Option4->setChecked(true);
    Check5->setCheckState(checkStateFor(m_store.GetSwitch(Key::Mode)));
    UpdateEnabledStates();
}

// Each switch governs its group; the notice-only scope needs both Telehodai and the notice.
void Form2::UpdateEnabledStates()
{
    setAllEnabled({Frame3, Option1, Option2, Label3, Command4}, valueOf(Check2) == 1);
    const bool telehodai = valueOf(Check3) == 1;
    setAllEnabled({Frame4, Check4, Check5, Option4, Label4, Command5}, telehodai);
    Option3->setEnabled(telehodai && valueOf(Check4) == 1);
}

void Form2::loadSwatch(Swatch *swatch, Key key) { swatch->setFill(m_store.GetColour(key)); }

void Form2::save(Key key, bool on) { save(key, storedtext::fromSwitch(on ? 1 : 0)); }

void Form2::save(Key key, const QString &value)
{
    if (!m_store.SaveSetting(key, value))
        tellSaveRefusedOnce();
}

// Once in the dialog's life: the reason does not change from one click to the next. The
// writes of start-up change nothing the user chose, so they alone bring no message.
void Form2::tellSaveRefusedOnce()
{
    if (m_toldSaveRefused || !m_loaded)
        return;
    m_toldSaveRefused = true;
    openWarning(this, QStringLiteral("設定の保存"),
                QStringLiteral("設定をファイルに保存できませんでした。\n\n"
                               "保存先: %1\n理由: %2\n\n"
                               "変更した設定は、このプログラムを終了するまで有効です。")
                    .arg(QDir::toNativeSeparators(m_store.filePath()), m_store.saveError()),
                "SaveRefused");
}

void Form2::Check1_Click()
{
    const bool on = valueOf(Check1) == 1;
    Q_EMIT adjustmentEnabledChanged(on);
    save(Key::Sp1, on);
}

void Form2::Check2_Click()
{
    const bool on = valueOf(Check2) == 1;
    UpdateEnabledStates();
    save(Key::Sp2, on);
}

void Form2::Check3_Click()
{
    const bool on = valueOf(Check3) == 1;
    UpdateEnabledStates();
    save(Key::Tel, on);
}

// Turning the notice off forces the Telehodai colour onto all text, so the store never
// holds "notice off" with "notice text only".
void Form2::Check4_Click()
{
    const bool on = valueOf(Check4) == 1;
    UpdateEnabledStates();
    if (on) {
        save(Key::TelS1, true);
    } else {
        Option4->setChecked(true);
        save(Key::TelS1, false);
        save(Key::TelS2, true);
    }
}

void Form2::Check5_Click() { save(Key::Mode, valueOf(Check5) == 1); }

void Form2::Option1_Click()
{
    if (Option1->isChecked())
        save(Key::Sp2i, false);
}

void Form2::Option2_Click()
{
    if (Option2->isChecked())
        save(Key::Sp2i, true);
}

void Form2::Option3_Click()
{
    if (Option3->isChecked())
        save(Key::TelS2, false);
}

void Form2::Option4_Click()
{
    if (Option4->isChecked())
        save(Key::TelS2, true);
}

void Form2::Command1_Click() { accept(); }

void Form2::Command2_Click() { chooseColour(Shape1, Key::ColorB); }
void Form2::Command3_Click() { chooseColour(Shape2, Key::ColorF); }
void Form2::Command4_Click() { chooseColour(Shape3, Key::ColorS); }
void Form2::Command5_Click() { chooseColour(Shape4, Key::ColorTel); }

// A cancelled colour dialog changes nothing.
void Form2::chooseColour(Swatch *swatch, Key key)
{
    const auto chosen = m_picker.pick(this, CommonDialog1);
    if (!chosen)
        return;
    CommonDialog1 = *chosen;
    swatch->setFill(CommonDialog1);
    if (key == Key::ColorB)
        Q_EMIT backColourChanged(CommonDialog1);
    save(key, storedtext::fromColour(CommonDialog1));
}

void Form2::Command6_Click()
{
    const std::pair<Swatch *, Key> swatches[] = {
        {Shape1, Key::ColorB}, {Shape2, Key::ColorF}, {Shape3, Key::ColorS}, {Shape4, Key::ColorTel}};
    for (const auto &[swatch, key] : swatches)
        swatch->setFill(defaultColour(key));
    for (const auto &[swatch, key] : swatches)
        save(key, QString::fromLatin1(keyInfo(key).firstRunDefault));
    Q_EMIT backColourChanged(defaultColour(Key::ColorB));
}

// Esc must not close the dialog: only OK and the title bar's close button do.
void Form2::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}
