#pragma once

#include "workspace/catalogue_progress.h"

#include <QFrame>

class QLabel;
class QProgressBar;

namespace workspace {

// panAtualizaTabela: the panel with its progress bar prgAtualizaTabela shown while the
// server's catalogue is brought up to date; repainted at every step.
class CatalogueProgressPanel : public QFrame, public SeedProgress
{
public:
    explicit CatalogueProgressPanel(QWidget* parent);

    void show(const QString& caption, int maximum) override;
    void step(int position) override;
    void hide() override;

    QProgressBar* prgAtualizaTabela = nullptr;

private:
    QLabel* m_caption = nullptr;
};

}  // namespace workspace
