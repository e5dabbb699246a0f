#include "settings/versionpage.h"

#include "widgets/designfont.h"

#include <QGroupBox>
#include <QLabel>

namespace {
const QString kTermsOfUse = QStringLiteral(
    "本ソフトウェアは無保証で提供されます。時報調整機能はコンピューターの時刻を変更します。"
    "ご利用によって生じたいかなる損害についても、作者は責任を負いません。");

QLabel *centredLabel(const QString &text, const char *name, int pixelSize, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    if (pixelSize)
        label->setFont(designFont(pixelSize));
    return label;
}
} // namespace

VersionPage::VersionPage(QTabWidget *tabs) : TabPage(tabs)
{
    QLabel *name = place(centredLabel(QStringLiteral("Ravelquint"), "Label5", 37, this), {600, 840, 3975, 495});
    name->setMinimumHeight(name->fontMetrics().height()); // room for the descender of "q"
    place(centredLabel(QStringLiteral("Version " RAVELQUINT_VERSION), "Label7", 16, this), {1080, 1560, 3015, 255});
    QLabel *motto = place(centredLabel(QStringLiteral("低機能かつコンパクトを目指した、次世代ラヴェルクイント。"), "Label9", 0, this),
                          {240, 2160, 4695, 255});
    // The one label that fills its box, in the button face: a style whose pages are another colour shows it.
    motto->setAutoFillBackground(true);
    motto->setBackgroundRole(QPalette::Button);

    auto *terms = place(new QGroupBox(QStringLiteral("注意"), this), {480, 2880, 4095, 1335});
    terms->setObjectName(QStringLiteral("Frame5"));
    auto *text = new QLabel(kTermsOfUse, terms);
    text->setObjectName(QStringLiteral("Label8"));
    text->setGeometry(pixelRect({120, 240, 3855, 855}));
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}
