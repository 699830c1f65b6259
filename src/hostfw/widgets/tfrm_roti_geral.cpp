#include "tfrm_roti_geral.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace hostfw {

TfrmRotiGeral::TfrmRotiGeral(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmRotiGeral"));
    setModal(true);

    panPrincipal = new QWidget(this);
    panPrincipal->setObjectName(QStringLiteral("panPrincipal"));

    lblCodigoTela = new QLabel(this);
    lblCodigoTela->setObjectName(QStringLiteral("lblCodigoTela"));
    lblCodigoTela->setEnabled(false);  // shown in grey, as in the host's forms
    sbtConfirma = new QPushButton(style()->standardIcon(QStyle::SP_DialogApplyButton),
                                  QStringLiteral("Confirmar"), this);
    sbtConfirma->setObjectName(QStringLiteral("sbtConfirma"));
    sbtConfirma->setDefault(true);
    sbtCancela = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                                 QStringLiteral("Cancelar"), this);
    sbtCancela->setObjectName(QStringLiteral("sbtCancela"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblCodigoTela);
    buttons->addStretch();
    buttons->addWidget(sbtConfirma);
    buttons->addWidget(sbtCancela);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panPrincipal, 1);
    layout->addLayout(buttons);

    connect(sbtConfirma, &QPushButton::clicked, this, [this] { sbtConfirmaClick(); });
    connect(sbtCancela, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmRotiGeral::setScreenCode(const QString& code)
{
    lblCodigoTela->setText(code);
}

void TfrmRotiGeral::sbtConfirmaClick()
{
    accept();
}

}  // namespace hostfw
