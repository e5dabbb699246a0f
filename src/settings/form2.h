#pragma once

#include "store/settingsstore.h"

#include <QColor>
#include <QDialog>

class ColourPicker;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTabWidget;
class Swatch;

// The settings dialog. Every click is saved at once; the clock picks changes up on its
// next tick, except the two settings it reads only at start-up, which the dialog announces
// for the window that opened it to apply.
//
//   SSTab1      the two pages: settings, and the version page   Command1  OK
//   Frame1      colours: Label1–4 name the swatches Shape1–4 (background, text, Sunday,
//               Telehodai), each with its button Command2–5; Command6 resets all four
//   Frame2      switches: Check1 time signal, Check2 Sunday colouring, Check3 Telehodai mode
//   Frame3      Sunday scope: Option1 weekday only, Option2 all text
//   Frame4      Telehodai details: Check5 counter, Check4 notice, and the colour scope
//               Option3 notice only, Option4 all text
class Form2 : public QDialog
{
    Q_OBJECT
public:
    Form2(SettingsStore &store, ColourPicker &picker, QWidget *parent = nullptr);


signals:
    void adjustmentEnabledChanged(bool enabled);
    void backColourChanged(const QColor &colour);

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildSettingsPage();
    void setFocusOrder();
    void connectHandlers();
    void Form_Load();
    void Check1_Click();
    void Check2_Click();
    void Check3_Click();
    void Check4_Click();
    void Check5_Click();
    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Option4_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void updateEnabledStates();
    void loadSwatch(Swatch *swatch, Key key);
    void chooseColour(Swatch *swatch, Key key);
    void save(Key key, bool on);
    void save(Key key, const QString &value);
    void save(const SettingsStore::Edits &edits);
    void tellSaveRefusedOnce();

    SettingsStore &m_store;
    ColourPicker &m_picker;
    bool m_loaded = false;
    bool m_toldSaveRefused = false;

    QTabWidget *SSTab1;
    QGroupBox *Frame1, *Frame2, *Frame3, *Frame4;
    QCheckBox *Check1, *Check2, *Check3, *Check4, *Check5;
    QRadioButton *Option1, *Option2, *Option3, *Option4;
    QPushButton *Command1, *Command2, *Command3, *Command4, *Command5, *Command6;
    Swatch *Shape1, *Shape2, *Shape3, *Shape4;
    QLabel *Label1, *Label2, *Label3, *Label4;
    // The colour dialog's value: kept while this dialog lives, black at first.
    QColor CommonDialog1 = Qt::black;
};
