// The template builder with the program's own templates: whatever the
// desktop's font, no one-line text is clipped.
#include "dialogs/DialogTemplate.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

TEST(DialogTemplateTest, OneLineTextsFitTheirControlsInEveryTemplate)
{
    for (int id : {102, 129, 130, 131, 132, 133, 134, 135, 136}) {
        SCOPED_TRACE(id);
        QDialog window;
        BuildFromTemplate(&window, DialogTemplate::Load(id));
        const QFontMetrics metrics(window.font());
        for (const QLabel* label : window.findChildren<QLabel*>()) {
            if (label->height() < 2 * metrics.height()) {
                EXPECT_GE(label->width(), metrics.horizontalAdvance(label->text())) << label->text().toStdString();
                EXPECT_FALSE(label->wordWrap()) << label->text().toStdString();
            }
        }
        for (const QPushButton* button : window.findChildren<QPushButton*>())
            EXPECT_GE(button->width(), metrics.horizontalAdvance(button->text()) + 8) << button->text().toStdString();
    }
}

} // namespace
