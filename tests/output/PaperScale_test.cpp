// Paper output to scale: a PDF at 1:1 measures on paper what the drawing
// measures in units, ratios shrink and enlarge it, and a drawing larger than
// the page at its ratio is cut off with a warning.
#include "database/GO_Database.h"
#include "geometry/GO_Line.h"
#include "output/DrawingExport.h"
#include "output/OutputTestUtil.h"
#include "output/PaperScaleChoice.h"
#include "support/TestWorkDir.h"

#include <gtest/gtest.h>

#include <QDir>

using namespace exguitest;

namespace {

void AddPlate(CGO_Database& db, float width, float height)
{
    const float corners[][2] = {{0, 0}, {width, 0}, {width, height}, {0, height}};
    for (int i = 0; i < 4; ++i) {
        auto* line = new CGO_Line;
        line->SetPoints(CGO_Point(corners[i][0], corners[i][1]), CGO_Point(corners[(i + 1) % 4][0], corners[(i + 1) % 4][1]));
        db.Add(line);
    }
}

// The horizontal extent of everything dark on the page, in mm.
double DarkWidthMm(const QImage& page, int dpi)
{
    int left = page.width(), right = -1;
    for (int y = 0; y < page.height(); y += 2) {
        for (int x = 0; x < page.width(); ++x) {
            if (qGray(page.pixel(x, y)) < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    return right < left ? 0.0 : (right - left + 1) * 25.4 / dpi;
}

} // namespace

TEST(PaperScale, PdfAtARatioMeasuresTheDrawingInMillimetres)
{
    const QString before = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(testsupport::MakeScratchDir("paperscale")));
    const int dpi = 254; // ten pixels a millimetre
    const struct {
        const char* ratio;
        float plateWidth;
        double expectedMm; // 0: cut off
    } cases[] = {{"1:1", 200, 200}, {"1:2", 200, 100}, {"2:1", 100, 200}, {"1:10", 2000, 200}, {"1:1", 400, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.ratio) + " of " + std::to_string(c.plateWidth));
        CGO_Database db;
        AddPlate(db, c.plateWidth, c.plateWidth / 2);
        CPaperScale paper;
        ASSERT_TRUE(CPaperScale::ParseRatio(QString::fromLatin1(c.ratio), paper.ratio));
        CDrawingExport pdf;
        pdf.SetPaper(paper);
        ASSERT_TRUE(pdf.Write(db, {-500, 500, -500, 500}, QStringLiteral("plate.pdf"), exchange::FORMAT_PDF));
        EXPECT_EQ(pdf.WasCutOff(), c.expectedMm == 0.0);
        const QImage page = RenderPdf(QStringLiteral("plate.pdf"), dpi);
        ASSERT_FALSE(page.isNull());
        // The 0.25 mm pen adds a little on either side.
        if (c.expectedMm > 0.0) {
            EXPECT_NEAR(DarkWidthMm(page, dpi), c.expectedMm + 0.25, 0.3);
        }
    }
    QDir::setCurrent(before);
}

TEST(PaperScale, RatiosAndPagesAreReadOrRefused)
{
    double ratio = -1;
    for (const auto& [text, expected] : std::vector<std::pair<const char*, double>>{
             {"1:1", 1.0}, {"1:2", 0.5}, {"2:1", 2.0}, {" 1 : 10 ", 0.1}, {"fit", 0.0}, {"An Seite anpassen", 0.0}}) {
        EXPECT_TRUE(CPaperScale::ParseRatio(QString::fromUtf8(text), ratio)) << text;
        EXPECT_DOUBLE_EQ(ratio, expected) << text;
    }
    for (const char* bad : {"", "1", "1:0", "0:1", "-1:2", "a:b", "1:2:3", "1e400:1"})
        EXPECT_FALSE(CPaperScale::ParseRatio(QString::fromLatin1(bad), ratio)) << bad;
    QPageSize::PageSizeId page = QPageSize::A4;
    EXPECT_TRUE(CPaperScale::ParsePage(QStringLiteral("a3"), page));
    EXPECT_EQ(page, QPageSize::A3);
    EXPECT_FALSE(CPaperScale::ParsePage(QStringLiteral("B7"), page));
}

// The dialog's warning says what the page will do: for every ratio, page and
// orientation it offers, it shows exactly when the written PDF cuts off.
TEST(PaperScale, TheExportDialogWarnsExactlyWhenThePageCutsOff)
{
    CGO_Database db;
    AddPlate(db, 300, 150);
    const WorldCoordinates visible{-500, 500, -500, 500};
    CPaperScaleChoice choice(true,
                             [&](const CPaperScale& paper) { return CDrawingExport::PdfCutsOff(db, visible, paper); });
    for (const QString& ratio : CPaperScale::Choices()) {
        for (const QString& name : CPaperScale::PageNames()) {
            for (int orientation = 0; orientation < 3; ++orientation) {
                CPaperScale paper;
                CPaperScale::ParseRatio(ratio, paper.ratio);
                CPaperScale::ParsePage(name, paper.page);
                paper.orientation = static_cast<CPaperScale::Orientation>(orientation);
                choice.SetChosen(paper);
                bool cutOff = false;
                CDrawingExport::Render(db, visible, exchange::FORMAT_PDF, paper, &cutOff);
                EXPECT_EQ(choice.WarnsOfCutOff(), cutOff) << ratio.toStdString() << " " << name.toStdString();
            }
        }
    }
}
