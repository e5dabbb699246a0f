#include "settings/form2.h"

#include "settings/formparts.h"
#include "settings/swatch.h"
#include "settings/tabpage.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

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
    updateEnabledStates();
}
