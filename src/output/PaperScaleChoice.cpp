// The scale widgets shared by the print dialog and the PDF export.
#include "output/PaperScaleChoice.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char* const TEXT_CUT_OFF =
    "Die Zeichnung passt in diesem Maßstab nicht auf die Seite; was darüber hinausreicht, wird abgeschnitten.";

// The orientations in the order of CPaperScale::Orientation.
const char* const kOrientations[] = {"Automatisch", "Hochformat", "Querformat"};

} // namespace

CPaperScaleChoice::CPaperScaleChoice(bool withPage, CutOffTest cutsOff, QWidget* parent)
    : QWidget(parent), m_cutsOff(std::move(cutsOff))
{
    auto* form = new QFormLayout(this);
    m_pRatio = new QComboBox(this);
    m_pRatio->addItems(CPaperScale::Choices());
    form->addRow(QString::fromUtf8("Maßstab (1 Einheit = 1 mm bei 1:1):"), m_pRatio);
    connect(m_pRatio, &QComboBox::currentIndexChanged, this, &CPaperScaleChoice::UpdateWarning);
    if (withPage) {
        m_pPage = new QComboBox(this);
        m_pPage->addItems(CPaperScale::PageNames());
        m_pPage->setCurrentText(QStringLiteral("A4"));
        form->addRow(QString::fromUtf8("Seitengröße:"), m_pPage);
        m_pOrientation = new QComboBox(this);
        for (const char* orientation : kOrientations)
            m_pOrientation->addItem(QString::fromUtf8(orientation));
        form->addRow(QString::fromUtf8("Ausrichtung:"), m_pOrientation);
        connect(m_pPage, &QComboBox::currentIndexChanged, this, &CPaperScaleChoice::UpdateWarning);
        connect(m_pOrientation, &QComboBox::currentIndexChanged, this, &CPaperScaleChoice::UpdateWarning);
    }
    m_pWarning = new QLabel(QString::fromUtf8(TEXT_CUT_OFF), this);
    m_pWarning->setWordWrap(true);
    m_pWarning->setStyleSheet(QStringLiteral("color: #b00000"));
    form->addRow(m_pWarning);
    UpdateWarning();
}

CPaperScale CPaperScaleChoice::Chosen() const
{
    CPaperScale paper;
    CPaperScale::ParseRatio(m_pRatio->currentText(), paper.ratio);
    if (m_pPage != nullptr)
        CPaperScale::ParsePage(m_pPage->currentText(), paper.page);
    if (m_pOrientation != nullptr)
        paper.orientation = static_cast<CPaperScale::Orientation>(m_pOrientation->currentIndex());
    return paper;
}

void CPaperScaleChoice::SetChosen(const CPaperScale& paper)
{
    for (int i = 0; i < m_pRatio->count(); ++i) {
        double ratio = -1.0;
        if (CPaperScale::ParseRatio(m_pRatio->itemText(i), ratio) && ratio == paper.ratio)
            m_pRatio->setCurrentIndex(i);
    }
    if (m_pPage != nullptr) {
        for (int i = 0; i < m_pPage->count(); ++i) {
            QPageSize::PageSizeId page = QPageSize::A4;
            if (CPaperScale::ParsePage(m_pPage->itemText(i), page) && page == paper.page)
                m_pPage->setCurrentIndex(i);
        }
    }
    if (m_pOrientation != nullptr)
        m_pOrientation->setCurrentIndex(paper.orientation);
    UpdateWarning();
}

bool CPaperScaleChoice::WarnsOfCutOff() const
{
    return !m_pWarning->isHidden();
}

void CPaperScaleChoice::UpdateWarning()
{
    m_pWarning->setHidden(!(m_cutsOff && m_cutsOff(Chosen())));
}

bool CPaperScaleChoice::AskForPdf(QWidget* owner, CPaperScale& paper, CutOffTest cutsOff)
{
    QDialog dialog(owner);
    dialog.setWindowTitle(QString::fromUtf8("PDF exportieren"));
    dialog.setWindowModality(Qt::ApplicationModal);
    auto* layout = new QVBoxLayout(&dialog);
    auto* choice = new CPaperScaleChoice(true, std::move(cutsOff), &dialog);
    choice->SetChosen(paper);
    layout->addWidget(choice);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QString::fromUtf8("Exportieren"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QString::fromUtf8("Abbrechen"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    paper = choice->Chosen();
    return true;
}
