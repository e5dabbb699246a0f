#pragma once

#include <QColor>
#include <optional>

class QWidget;

class ColourPicker
{
public:
    virtual ~ColourPicker() = default;
    // Modal; nothing when the user cancels.
    virtual std::optional<QColor> pick(QWidget *parent, const QColor &initial) = 0;
};

class DialogColourPicker final : public ColourPicker
{
public:
    std::optional<QColor> pick(QWidget *parent, const QColor &initial) override;
};
