#include "clock/clocklabel.h"
#include "clock/form1.h"
#include "clock/mousetarget.h"
#include "widgets/twips.h"

namespace {
const QColor kDesignTextColour(0, 255, 0);
}

void Form1::buildLayout()
{
    struct TextRow {
        ClockLabel *Form1::*member;
        const char *name;
        TwipRect box;
        int pixelSize;
        Qt::Alignment alignment;
        const char *caption;
    };
    // Lowest in the stacking order first.
    static const TextRow rows[] = {
        {&Form1::Label1, "Label1", {0, 0, 855, 375}, 27, Qt::AlignRight, "2000"},
        {&Form1::Label2, "Label2", {1080, 0, 495, 375}, 27, Qt::AlignHCenter, "08"},
        {&Form1::Label3, "Label3", {1800, 0, 495, 375}, 27, Qt::AlignHCenter, "25"},
        {&Form1::Label4, "Label4", {480, 600, 615, 495}, 35, Qt::AlignLeft, "23"},
        {&Form1::Label5, "Label5", {1200, 600, 615, 495}, 35, Qt::AlignRight, "59"},
        {&Form1::Label6, "Label6", {2040, 600, 615, 495}, 35, Qt::AlignLeft, "59"},
        {&Form1::Label7, "Label7", {2520, 0, 375, 375}, 27, Qt::AlignHCenter, "金"},
        {&Form1::Label8, "Label8", {840, 120, 255, 255}, 15, Qt::AlignHCenter, "年"},
        {&Form1::Label9, "Label9", {1560, 120, 255, 255}, 15, Qt::AlignLeft, "月"},
        {&Form1::Label10, "Label10", {2280, 120, 255, 255}, 15, Qt::AlignLeft, "日"},
        {&Form1::Label11, "Label11", {2880, 120, 495, 255}, 15, Qt::AlignRight, "曜日"},
        {&Form1::Label12, "Label12", {960, 840, 375, 255}, 16, Qt::AlignHCenter, "時"},
        {&Form1::Label13, "Label13", {1800, 840, 255, 255}, 16, Qt::AlignRight, "分"},
        {&Form1::Label14, "Label14", {2520, 840, 375, 255}, 16, Qt::AlignHCenter, "秒"},
        {&Form1::Label15, "Label15", {240, 435, 2895, 255}, 13, Qt::AlignHCenter, "只今テレホーダイ適用時間帯です"},
    };
    for (const TextRow &row : rows) {
        auto *label = new ClockLabel(QString::fromUtf8(row.caption), kDesignTextColour, row.pixelSize, this);
        label->setObjectName(QLatin1String(row.name));
        label->setGeometry(pixelRect(row.box));
        label->setAlignment(row.alignment | Qt::AlignTop);
        this->*row.member = label;
    }
    installMouseTargetAccessibility();
    Label16 = new MouseTarget(MouseTarget::Gesture::DoubleClick, this);
    Label16->setObjectName(QStringLiteral("Label16"));
    Label16->setGeometry(pixelRect({0, 0, 3375, 1095}));
    Label16->setAccessibleName(tr("設定を開く"));
    Label17 = new MouseTarget(MouseTarget::Gesture::Click, this);
    Label17->setObjectName(QStringLiteral("Label17"));
    Label17->setGeometry(pixelRect({2560, 840, 255, 255}));
    Label17->setAccessibleName(tr("時報調整（表示中の分に時刻を合わせる）"));
}
