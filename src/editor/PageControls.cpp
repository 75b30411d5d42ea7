#include "PageControls.h"

#include "PageSpinBox.h"
#include "QtText.h"
#include "generate/ShowField.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <algorithm>
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

QString meaningName(std::string_view control)
{
    return QString::fromLatin1(control.data(), qsizetype(control.size())) +
           QStringLiteral("_meaning");
}

// The words beside a spin edit follow the digits as they are typed, before the box takes
// them: its edit tells of every keystroke, where the box itself waits for the edit to end. A
// box being emptied says nothing rather than scold.
void followTyping(QSpinBox &spin, const ShowField &field, QLabel &meaning)
{
    auto *typing = spin.findChild<QLineEdit *>();
    if (!typing)
        return;
    // Room for the longest words, those of the largest number, so that the page does not
    // shift while a number is typed.
    TAppletData largest;
    largest.*field.field = storedNumber(field.maximum);
    meaning.setMinimumWidth(
        meaning.fontMetrics().horizontalAdvance(toQString(meaningOf(field, largest))));
    QObject::connect(typing, &QLineEdit::textChanged, &meaning,
                     [&field, &meaning](const QString &text) {
                         const QString typed = text.trimmed();
                         bool number = false;
                         typed.toInt(&number);
                         TAppletData data;
                         data.*field.field = toBytes(typed);
                         meaning.setText(number ? toQString(meaningOf(field, data)) : QString());
                     });
}

void setUpSpin(QSpinBox &spin, const ShowField &field)
{
    spin.setRange(field.minimum, field.maximum);
    spin.setKeyboardTracking(false);
    if (auto *page = qobject_cast<PageSpinBox *>(&spin))
        page->setRule([&field](long long typed) {
            const std::string rule = numberRule(field, typed);
            return rule.empty() ? QString() : toQString(rule + ".");
        });
}

} // namespace

PageControls::PageControls(QWidget &window)
{
    for (const ShowField &field : showFields()) {
        QWidget *widget = findControlOfKind(window, field);
        QWidget *other = field.otherControl.empty()
                             ? nullptr
                             : findControl<QRadioButton>(window, field.otherControl);
        auto *meaning = window.findChild<QLabel *>(meaningName(field.control));
        if (field.kind == Kind::number) {
            auto *spin = static_cast<QSpinBox *>(widget);
            setUpSpin(*spin, field);
            if (meaning)
                followTyping(*spin, field, *meaning);
        }
        m_controls.push_back({&field, widget, other, meaning});
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
    for (const Control &control : m_controls) {
        showControl(control, data.*control.field->field);
        showMeaning(*control.field, control.meaning, data.*control.field->field);
    }
}

// A number says what the box holds, which for a stored value out of its bounds is the nearest
// bound; a colour's words come with its face.
void PageControls::showMeaning(const ShowField &field, QLabel *meaning, const std::string &stored)
{
    if (!meaning || field.kind != Kind::number)
        return;
    TAppletData data;
    data.*field.field =
        storedNumber(std::clamp(numberOnPage(stored), field.minimum, field.maximum));
    meaning->setText(toQString(meaningOf(field, data)));
}

void PageControls::showColour(QPushButton &panel, const QColor &colour)
{
    panel.setProperty("colour", colour);
    panel.setStyleSheet(
        QStringLiteral("background-color: %1; border: 1px solid gray;").arg(colour.name()));
    // Found by name: every way a colour arrives (a pick, an undo, an open) passes here.
    if (QWidget *parent = panel.parentWidget())
        if (auto *hex =
                parent->findChild<QLabel *>(panel.objectName() + QStringLiteral("_meaning")))
            hex->setText(toQString(WithHash(storedColour(colorValueOf(colour)))));
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
        // save from the keyboard while the cursor is still in the box must see them too. They
        // are read, not handed to the box: a box that took them quietly would not report the
        // change when the edit ends, and the edit would never become an undoable step.
        auto *spin = static_cast<QSpinBox *>(control.widget);
        bool whole = false;
        const int typed = spin->locale().toInt(spin->cleanText(), &whole);
        const bool within = whole && typed >= spin->minimum() && typed <= spin->maximum();
        return storedNumber(within ? typed : spin->value());
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
