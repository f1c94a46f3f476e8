// Reads dialog templates from the program's resources and builds their
// controls, converting dialog units into pixels of the window's font.
#include "dialogs/DialogTemplate.h"

#include <QDialog>
#include <QFile>
#include <QFontMetrics>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void TemplateFault(int id, const QString& why)
{
    std::fprintf(stderr, "lumen7: dialog template %d is broken: %s\n", id, qPrintable(why));
    std::abort();
}

DialogControl::Kind KindFromName(int templateId, const QString& name)
{
    if (name == QLatin1String("button"))
        return DialogControl::Button;
    if (name == QLatin1String("groupbox"))
        return DialogControl::GroupBox;
    if (name == QLatin1String("label"))
        return DialogControl::Label;
    if (name == QLatin1String("edit"))
        return DialogControl::Edit;
    TemplateFault(templateId, QStringLiteral("unknown control kind '%1'").arg(name));
}

QRect RectFromJson(int templateId, const QJsonValue& value)
{
    const QJsonArray values = value.toArray();
    if (values.size() != 4)
        TemplateFault(templateId, QStringLiteral("a rectangle needs four numbers"));
    return QRect(values[0].toInt(), values[1].toInt(), values[2].toInt(), values[3].toInt());
}

// Dialog units: a quarter of the average character width horizontally and an
// eighth of the character height vertically.
// The average character width is that of the 52 Latin letters, as dialog
// units were defined for: the font's own average (its OS/2 table value) is
// narrower for many fonts, and captions sized for it would be clipped.
// Templates are laid out for a narrower font than most Linux desktops use, so
// the horizontal unit also grows, when needed, until every one-line text of
// the template fits its control; the layout keeps its proportions.
class DialogUnits {
public:
    DialogUnits(const QFontMetrics& metrics, const DialogTemplate& dialogTemplate)
        : m_unitWidth(AverageLetterWidth(metrics) / 4.0), m_charHeight(metrics.height())
    {
        for (const DialogControl& control : dialogTemplate.controls) {
            const int width = control.rect.width();
            if (width > 0 && IsOneLine(control))
                m_unitWidth = std::max(m_unitWidth, (metrics.horizontalAdvance(control.text) + Padding(control)) /
                                                        static_cast<double>(width));
        }
    }
    static int AverageLetterWidth(const QFontMetrics& metrics)
    {
        const int letters = metrics.horizontalAdvance(
            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
        return (letters / 26 + 1) / 2;
    }
    // Buttons, group-box titles and labels one text line high; taller labels
    // are help texts that wrap.
    static bool IsOneLine(const DialogControl& control)
    {
        return !control.text.isEmpty() &&
               (control.kind != DialogControl::Label || control.rect.height() <= kOneLineHeight);
    }
    // Pixels a control needs around its text: a button's frame and margins, a
    // group box's title indent, a pixel for a label.
    static int Padding(const DialogControl& control)
    {
        switch (control.kind) {
        case DialogControl::Button:
            return 16;
        case DialogControl::GroupBox:
            return 20;
        default:
            return 2;
        }
    }
    int X(int units) const { return static_cast<int>(std::lround(units * m_unitWidth)); }
    int Y(int units) const { return (units * m_charHeight + 4) / 8; }
    QRect Rect(const QRect& units) const
    {
        return QRect(X(units.x()), Y(units.y()), X(units.width()), Y(units.height()));
    }

    static constexpr int kOneLineHeight = 10;

private:
    double m_unitWidth;  // pixels per horizontal dialog unit
    int m_charHeight;
};

QWidget* CreateControl(QWidget* window, const DialogControl& control)
{
    switch (control.kind) {
    case DialogControl::Button: {
        auto* button = new QPushButton(control.text, window);
        button->setDefault(control.isDefault);
        button->setAutoDefault(false);
        button->setCheckable(control.isCheckable);
        return button;
    }
    case DialogControl::GroupBox:
        return new QGroupBox(control.text, window);
    case DialogControl::Label: {
        auto* label = new QLabel(control.text, window);
        // A one-line label must not break "Objekt-ID:" at its hyphen.
        label->setWordWrap(control.rect.height() > DialogUnits::kOneLineHeight);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    case DialogControl::Edit:
        return new QLineEdit(window);
    }
    return nullptr;
}

} // namespace

DialogTemplate DialogTemplate::Load(int id)
{
    QFile file(QStringLiteral(":/templates/%1.json").arg(id));
    if (!file.open(QIODevice::ReadOnly))
        TemplateFault(id, QStringLiteral("not found in the resources"));
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (document.isNull())
        TemplateFault(id, error.errorString());
    const QJsonObject root = document.object();

    DialogTemplate result;
    result.id = id;
    result.caption = root.value(QLatin1String("caption")).toString();
    result.size = QSize(root.value(QLatin1String("width")).toInt(), root.value(QLatin1String("height")).toInt());
    result.hasCloseBox = root.value(QLatin1String("closeBox")).toBool(true);
    for (const QJsonValue& value : root.value(QLatin1String("controls")).toArray()) {
        const QJsonObject object = value.toObject();
        DialogControl control;
        control.kind = KindFromName(id, object.value(QLatin1String("kind")).toString());
        control.id = object.value(QLatin1String("id")).toInt(-1);
        control.text = object.value(QLatin1String("text")).toString();
        control.rect = RectFromJson(id, object.value(QLatin1String("rect")));
        control.isDefault = object.value(QLatin1String("default")).toBool(false);
        control.isDisabled = object.value(QLatin1String("disabled")).toBool(false);
        control.isCheckable = object.value(QLatin1String("checkable")).toBool(false);
        result.controls.push_back(control);
    }
    return result;
}

QHash<int, QWidget*> BuildFromTemplate(QWidget* window, const DialogTemplate& dialogTemplate)
{
    const DialogUnits units(QFontMetrics(window->font()), dialogTemplate);
    QHash<int, QWidget*> controls;
    // Group boxes first, so that the controls inside them lie on top.
    for (int pass = 0; pass < 2; ++pass) {
        for (const DialogControl& control : dialogTemplate.controls) {
            if ((control.kind == DialogControl::GroupBox) != (pass == 0))
                continue;
            QWidget* widget = CreateControl(window, control);
            widget->setGeometry(units.Rect(control.rect));
            widget->setEnabled(!control.isDisabled);
            if (control.id >= 0) {
                widget->setObjectName(QStringLiteral("control%1").arg(control.id));
                controls.insert(control.id, widget);
            }
        }
    }
    window->setWindowTitle(dialogTemplate.caption);
    window->setFixedSize(units.X(dialogTemplate.size.width()), units.Y(dialogTemplate.size.height()));
    // Keep the window's type (dialog or top-level window); the template only
    // decides about the title bar's buttons.
    Qt::WindowFlags flags = (window->windowFlags() & Qt::WindowType_Mask) | Qt::CustomizeWindowHint |
                            Qt::WindowTitleHint | Qt::WindowSystemMenuHint;
    if (dialogTemplate.hasCloseBox)
        flags |= Qt::WindowCloseButtonHint;
    window->setWindowFlags(flags);
    return controls;
}
