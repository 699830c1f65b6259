#include "tfrm_dados_ger_rel.h"

#include "hostfw/error_display.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace hostfw {
namespace {

TfrmDadosGerRel::DialogRunner& dialogRunner()
{
    static TfrmDadosGerRel::DialogRunner runner;
    return runner;
}

int runDialog(QDialog& dialog)
{
    return dialogRunner() ? dialogRunner()(dialog) : dialog.exec();
}

QPushButton* button(QWidget* parent, const QString& name, const QString& text,
                    QStyle::StandardPixmap icon)
{
    auto* b = new QPushButton(parent->style()->standardIcon(icon), text, parent);
    b->setObjectName(name);
    return b;
}

}  // namespace

TfrmDadosGerRel::DialogRunner TfrmDadosGerRel::setDialogRunner(DialogRunner runner)
{
    return std::exchange(dialogRunner(), std::move(runner));
}

TfrmDadosGerRel::TfrmDadosGerRel(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmDadosGerRel"));

    panPrincipal = new QWidget(this);
    panPrincipal->setObjectName(QStringLiteral("panPrincipal"));
    lblCodigoTela = new QLabel(this);
    lblCodigoTela->setObjectName(QStringLiteral("lblCodigoTela"));
    lblCodigoTela->setEnabled(false);
    lblCodigoRel = new QLabel(this);
    lblCodigoRel->setObjectName(QStringLiteral("lblCodigoRel"));
    lblCodigoRel->setEnabled(false);
    sbtVisualizar = button(this, QStringLiteral("sbtVisualizar"), QStringLiteral("Visualizar"),
                           QStyle::SP_FileDialogContentsView);
    sbtImprimir = button(this, QStringLiteral("sbtImprimir"), QStringLiteral("Imprimir"),
                         QStyle::SP_FileIcon);
    sbtSalvar = button(this, QStringLiteral("sbtSalvar"), QStringLiteral("Salvar Como"),
                       QStyle::SP_DialogSaveButton);
    sbtFechar = button(this, QStringLiteral("sbtFechar"), QStringLiteral("Fechar"),
                       QStyle::SP_DialogCloseButton);
    sbtVisualizar->setDefault(true);

    auto* codes = new QVBoxLayout;
    codes->addWidget(lblCodigoTela);
    codes->addWidget(lblCodigoRel);
    auto* buttons = new QHBoxLayout;
    buttons->addLayout(codes);
    buttons->addStretch();
    for (QPushButton* b : {sbtVisualizar, sbtImprimir, sbtSalvar, sbtFechar})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panPrincipal, 1);
    layout->addLayout(buttons);

    connect(sbtVisualizar, &QPushButton::clicked, this, [this] { Visualizar(); });
    connect(sbtImprimir, &QPushButton::clicked, this, [this] { Imprimir(); });
    connect(sbtSalvar, &QPushButton::clicked, this, [this] { SalvarComo(); });
    connect(sbtFechar, &QPushButton::clicked, this, &QDialog::close);
}

void TfrmDadosGerRel::setScreenCode(const QString& code)
{
    lblCodigoTela->setText(code);
}

void TfrmDadosGerRel::setReportCode(const QString& code)
{
    lblCodigoRel->setText(code);
}

void TfrmDadosGerRel::Visualizar()
{
    if (!PrepareReport())
        return;
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog preview(&printer, this);
    preview.setObjectName(QStringLiteral("rpddPadrao"));
    preview.setWindowTitle(QStringLiteral("Visualizar — %1").arg(windowTitle()));
    preview.resize(900, 1000);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* p) { PaintReport(*p); });
    runDialog(preview);
}

void TfrmDadosGerRel::Imprimir()
{
    if (!PrepareReport())
        return;
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (runDialog(dialog) == QDialog::Accepted)
        PaintReport(printer);
}

bool TfrmDadosGerRel::SalvarComo(const QString& path)
{
    if (!PrepareReport())
        return false;
    QString target = path;
    if (target.isEmpty())
        target = QFileDialog::getSaveFileName(this, QStringLiteral("Salvar Como"), QString(),
                                              QStringLiteral("PDF (*.pdf)"));
    if (target.isEmpty())
        return false;
    if (!target.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        target += QLatin1String(".pdf");
    QFile file(target);
    if (!file.open(QIODevice::WriteOnly)) {
        MensErro(QStringLiteral("Não foi possível gravar '%1': %2").arg(target, file.errorString()),
                 false);
        return false;
    }
    QPdfWriter writer(&file);
    writer.setResolution(300);
    writer.setTitle(windowTitle());
    PaintReport(writer);
    return true;
}

}  // namespace hostfw
