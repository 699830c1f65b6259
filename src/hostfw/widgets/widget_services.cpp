#include "hostfw/widgets/widget_services.h"

#include "hostfw/confirm.h"
#include "hostfw/error_display.h"
#include "hostfw/widgets/pick_list_dialog.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace hostfw {

namespace {

QWidget* dialogParent()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

void showErrorBox(const QString& text)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Atenção"), text, QMessageBox::Ok,
                    dialogParent());
    box.exec();
}

bool askYesNo(const QString& question)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirmação"), question,
                    QMessageBox::NoButton, dialogParent());
    QPushButton* yes = box.addButton(QStringLiteral("Sim"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("Não"), QMessageBox::NoRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

}  // namespace

void installWidgetServices()
{
    setErrorPresenter(showErrorBox);
    setConfirmer(askYesNo);
    static DialogPickListChooser pickLists;
    setPickListChooser(&pickLists);
}

}  // namespace hostfw
