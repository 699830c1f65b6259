#include "catalogue_panel.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace workspace {

CatalogueProgressPanel::CatalogueProgressPanel(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("panAtualizaTabela"));
    setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(this);
    m_caption = new QLabel(catalogueProgressCaption(), this);
    prgAtualizaTabela = new QProgressBar(this);
    prgAtualizaTabela->setObjectName(QStringLiteral("prgAtualizaTabela"));
    layout->addWidget(m_caption);
    layout->addWidget(prgAtualizaTabela);
    QFrame::hide();
}

void CatalogueProgressPanel::show(const QString& caption, int maximum)
{
    m_caption->setText(caption);
    prgAtualizaTabela->setRange(0, maximum);
    prgAtualizaTabela->setValue(0);
    QFrame::show();
    raise();
    repaint();
}

void CatalogueProgressPanel::step(int position)
{
    prgAtualizaTabela->setValue(position);
    repaint();
}

void CatalogueProgressPanel::hide()
{
    prgAtualizaTabela->setValue(0);
    QFrame::hide();
    if (parentWidget())
        parentWidget()->repaint();
}

}  // namespace workspace
