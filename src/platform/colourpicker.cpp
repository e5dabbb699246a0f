#include "platform/colourpicker.h"

#include <QColorDialog>

std::optional<QColor> DialogColourPicker::pick(QWidget *parent, const QColor &initial)
{
    const QColor chosen = QColorDialog::getColor(initial, parent);
    return chosen.isValid() ? std::optional(chosen) : std::nullopt;
}
