#include "settings/form2.h"

#include "platform/colourpicker.h"
#include "settings/formparts.h"
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
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>

namespace {

constexpr TwipRect kClientArea{0, 0, 5445, 5520};
constexpr int kVersionTab = 1;
constexpr int kDialogFontPixels = 12; // 9 points at 96 dpi, the dialog face's usual size

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
    m_store.refresh();
    loadSwatch(Shape1, Key::ColorB);
    loadSwatch(Shape2, Key::ColorF);
    loadSwatch(Shape3, Key::ColorS);
    loadSwatch(Shape4, Key::ColorTel);

    Check1->setCheckState(checkStateFor(m_store.switchValue(Key::Sp1)));
    Check2->setCheckState(checkStateFor(m_store.switchValue(Key::Sp2)));
    (m_store.switchValue(Key::Sp2i) == 0 ? Option1 : Option2)->setChecked(true);

    const qint16 telS1 = m_store.switchValue(Key::TelS1);
    const qint16 telS2 = m_store.switchValue(Key::TelS2);
    Check3->setCheckState(checkStateFor(m_store.switchValue(Key::Tel)));
    Check4->setCheckState(telS1 == 1 ? Qt::Checked : Qt::Unchecked);
    if (telS2 == 1)
        Option4->setChecked(true);
    Check5->setCheckState(checkStateFor(m_store.switchValue(Key::Mode)));
    updateEnabledStates();
}

// Each switch governs its group; the notice-only scope needs both Telehodai and the notice.
void Form2::updateEnabledStates()
{
    setAllEnabled({Frame3, Option1, Option2, Label3, Command4}, valueOf(Check2) == 1);
    const bool telehodai = valueOf(Check3) == 1;
    setAllEnabled({Frame4, Check4, Check5, Option4, Label4, Command5}, telehodai);
    Option3->setEnabled(telehodai && valueOf(Check4) == 1);
}

void Form2::loadSwatch(Swatch *swatch, Key key) { swatch->setFill(m_store.colour(key)); }

void Form2::save(Key key, bool on) { save(key, storedtext::fromSwitch(on ? 1 : 0)); }

void Form2::save(Key key, const QString &value) { save({{key, value}}); }

// The writes of loading change nothing the user chose: they need no answer, nor a wait.
// What one click changes goes in one save.
void Form2::save(const SettingsStore::Edits &edits)
{
    if (!m_loaded)
        m_store.saveInBackground(edits);
    else if (!m_store.saveAll(edits))
        tellSaveRefusedOnce();
}

// Once in the dialog's life: the reason does not change from one click to the next.
void Form2::tellSaveRefusedOnce()
{
    if (m_toldSaveRefused)
        return;
    m_toldSaveRefused = true;
    openWarning(this, saveRefusedTitle(), saveRefusedText(m_store.filePath(), m_store.saveError()), "SaveRefused");
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
    updateEnabledStates();
    save(Key::Sp2, on);
}

void Form2::Check3_Click()
{
    const bool on = valueOf(Check3) == 1;
    updateEnabledStates();
    save(Key::Tel, on);
}

// Turning the notice off forces the Telehodai colour onto all text, so the store never
// holds "notice off" with "notice text only".
void Form2::Check4_Click()
{
    const bool on = valueOf(Check4) == 1;
    updateEnabledStates();
    if (on) {
        save(Key::TelS1, true);
    } else {
        Option4->setChecked(true);
        save({{Key::TelS1, storedtext::fromSwitch(0)}, {Key::TelS2, storedtext::fromSwitch(1)}});
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
    SettingsStore::Edits defaults;
    for (const auto &[swatch, key] : swatches) {
        swatch->setFill(defaultColour(key));
        defaults.emplace_back(key, QString::fromLatin1(keyInfo(key).firstRunDefault));
    }
    save(defaults);
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
