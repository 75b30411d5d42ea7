#include "PageControls.h"

#include "QtText.h"
#include "generate/ShowField.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <stdexcept>

namespace {

using Kind = ShowField::Kind;

// ColorValue keeps red in its lowest byte.
QColor qColourOf(ColorValue value)
{
    return QColor(int(value & 0xff), int(value >> 8 & 0xff), int(value >> 16 & 0xff));
}

ColorValue colorValueOf(const QColor &colour)
{
    return ColorValue(colour.red()) | ColorValue(colour.green()) << 8 |
           ColorValue(colour.blue()) << 16;
}

template <class Widget> Widget *findControl(QWidget &window, std::string_view name)
{
    const QString objectName = QString::fromLatin1(name.data(), qsizetype(name.size()));
    auto *found = window.findChild<Widget *>(objectName);
    if (!found)
        throw std::logic_error("The pages have no control " + std::string(name) + " of the kind " +
                               Widget::staticMetaObject.className() + ".");
    return found;
}

QWidget *findControlOfKind(QWidget &window, const ShowField &field)
{
    switch (field.kind) {
    case Kind::name:
    case Kind::text:
        return findControl<QLineEdit>(window, field.control);
    case Kind::number:
        return findControl<QSpinBox>(window, field.control);
    case Kind::colour:
        return findControl<QPushButton>(window, field.control);
    case Kind::borderStyle:
        return findControl<QComboBox>(window, field.control);
    case Kind::convertTo:
        return findControl<QRadioButton>(window, field.control);
    }
    return nullptr;
}

} // namespace

PageControls::PageControls(QWidget &window)
{
    for (const ShowField &field : showFields()) {
        QWidget *widget = findControlOfKind(window, field);
        QWidget *other = field.otherControl.empty()
                             ? nullptr
                             : findControl<QRadioButton>(window, field.otherControl);
        if (field.kind == Kind::number) {
            auto *spin = static_cast<QSpinBox *>(widget);
            spin->setRange(field.minimum, field.maximum);
            spin->setKeyboardTracking(false);
        }
        m_controls.push_back({&field, widget, other});
    }
}

TAppletData PageControls::read(const TAppletData &base) const
{
    TAppletData data = base;
    for (const Control &control : m_controls)
        data.*control.field->field = readControl(control);
    return data;
}

void PageControls::show(const TAppletData &data)
{
    for (const Control &control : m_controls)
        showControl(control, data.*control.field->field);
}

void PageControls::showColour(QPushButton &panel, const QColor &colour)
{
    panel.setProperty("colour", colour);
    panel.setStyleSheet(
        QStringLiteral("background-color: %1; border: 1px solid gray;").arg(colour.name()));
}

QColor PageControls::colourOf(const QPushButton &panel)
{
    return panel.property("colour").value<QColor>();
}

std::string PageControls::readControl(const Control &control) const
{
    switch (control.field->kind) {
    case Kind::name:
    case Kind::text:
        return toBytes(static_cast<QLineEdit *>(control.widget)->text());
    case Kind::number: {
        // Without keyboard tracking the box takes typed digits only when the typing ends; a
        // save from the keyboard while the cursor is still in the box must see them too.
        auto *spin = static_cast<QSpinBox *>(control.widget);
        spin->interpretText();
        return storedNumber(spin->value());
    }
    case Kind::colour:
        return storedColour(colorValueOf(colourOf(*static_cast<QPushButton *>(control.widget))));
    case Kind::borderStyle:
        return storedNumber(static_cast<QComboBox *>(control.widget)->currentIndex());
    case Kind::convertTo:
        return storedConvertsToLocal(static_cast<QRadioButton *>(control.widget)->isChecked());
    }
    return {};
}

void PageControls::showControl(const Control &control, const std::string &stored)
{
    switch (control.field->kind) {
    case Kind::name:
    case Kind::text:
        static_cast<QLineEdit *>(control.widget)->setText(toQStringFromStored(stored));
        break;
    case Kind::number:
        static_cast<QSpinBox *>(control.widget)->setValue(numberOnPage(stored));
        break;
    case Kind::colour:
        showColour(*static_cast<QPushButton *>(control.widget), qColourOf(colourOnPage(stored)));
        break;
    case Kind::borderStyle:
        static_cast<QComboBox *>(control.widget)->setCurrentIndex(borderStyleOnPage(stored));
        break;
    case Kind::convertTo:
        // Checking one button of the pair unchecks the other; a checked button cannot be
        // unchecked directly. A flag that is neither value leaves the choice as it was.
        if (const std::optional<bool> local = convertsToLocalOnPage(stored))
            static_cast<QRadioButton *>(*local ? control.widget : control.other)->setChecked(true);
        break;
    }
}
