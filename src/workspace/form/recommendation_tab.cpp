#include "recommendation_tab.h"

#include "core_grid.h"
#include "grid_binder.h"

#include "hostfw/action.h"
#include "workspace/assessment_form.h"
#include "workspace/recommendation_page.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

namespace workspace {

namespace {

const QString kReference = QStringLiteral("CDRFNUTRECOM");
const QString kGroup = QStringLiteral("CDGRUPNUTR");
const QString kNames = QStringLiteral("NMNUTRESC");

bool inserting(const records::DataSet& ds)
{
    return ds.state() == records::DataSetState::Insert;
}

}  // namespace

// The recommendations with the row being inserted shown after the stored ones (the
// dataset lists a new row only once it is posted).
class RecommendationModel : public CoreGridModel
{
public:
    RecommendationModel(AssessmentForm& core, QObject* parent)
        : CoreGridModel(
            core.cdsNutrRefe,
            [&core](int, const QString& field) {
                return !core.readOnly() && (field == kReference || field == kGroup)
                       && inserting(core.cdsNutrRefe);
            },
            parent),
          m_rows(core.cdsNutrRefe)
    {
    }

    int pendingRow() const { return inserting(m_rows) ? m_rows.recordCount() : -1; }
    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : m_rows.recordCount() + (inserting(m_rows) ? 1 : 0);
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() != pendingRow())
            return CoreGridModel::data(index, role);
        const QString field = fieldAt(index.column());
        if (role == Qt::DisplayRole && (field == kReference || field == kGroup)) {
            const QString name =
                m_rows.asString(field == kReference ? QStringLiteral("DSRFNUTRECOM")
                                                    : QStringLiteral("NMGRUPNUTR"));
            return name.isEmpty() ? m_rows.asString(field) : name;
        }
        return role == Qt::DisplayRole || role == Qt::EditRole ? QVariant(m_rows.asString(field))
                                                               : QVariant();
    }
    // The views learn of the row being inserted, and of its values.
    void refresh()
    {
        const bool pending = inserting(m_rows);
        if (pending != m_pending) {
            beginResetModel();
            m_pending = pending;
            endResetModel();
        } else if (pending) {
            emit dataChanged(index(pendingRow(), 0), index(pendingRow(), columnCount() - 1));
        }
    }

private:
    records::DataSet& m_rows;
    bool m_pending = false;
};

namespace {

class RecommendationGridDelegate : public CoreGridDelegate
{
public:
    RecommendationGridDelegate(AssessmentForm& core, QTableView* view)
        : CoreGridDelegate(core, view)
    {
    }

    bool showsButton(const QModelIndex& index) const override
    {
        const QString field = fieldOf(index);
        return (field == kReference || field == kGroup || field == kNames)
               && index.row() == m_view->currentIndex().row() && !m_core.readOnly();
    }

    // A reference or group code typed: checked on leaving the cell.
    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override
    {
        const QString text = static_cast<QLineEdit*>(editor)->text().trimmed();
        if (text == index.data(Qt::EditRole).toString())
            return;
        hostfw::RunAction([&] { m_core.recommendationPage().typeCode(fieldOf(index), text); });
    }

protected:
    void openList() override
    {
        const QString field = fieldOf(m_view->currentIndex());
        hostfw::RunAction([&] { m_core.recommendationPage().dbgRefeRecomEditButtonClick(field); });
    }
};

}  // namespace

class RecommendationGridBinder : public CoreGridBinder
{
public:
    RecommendationGridBinder(AssessmentForm& core, QTableView* view, RecommendationModel* model)
        : CoreGridBinder(core, view, model, core.cdsNutrRefe,
                         new RecommendationGridDelegate(core, view)),
          m_recommendations(model)
    {
    }

    // The grid on the core's row, or on the row being inserted.
    void follow()
    {
        const int pending = m_recommendations->pendingRow();
        if (pending < 0) {
            sync();
            return;
        }
        followCursor(m_view, m_following, pending);
        m_view->viewport()->update();
    }

private:
    void onCurrentChanged(const QModelIndex& current, const QModelIndex& previous) override
    {
        const int here = inserting(m_rows) ? m_recommendations->pendingRow() : m_rows.recNo();
        if (!current.isValid() || current.row() == here) {
            m_view->viewport()->update();
            return;
        }
        // Leaving a recommendation being edited posts it; a refusal keeps the grid on it.
        const bool moved = hostfw::RunAction([&] {
            if (m_rows.isEditing())
                m_core.recommendationPage().post();
            m_rows.moveTo(current.row());
            m_core.repaint();
        });
        if (!moved)
            revertTo(previous.isValid() ? previous.column() : current.column());
        m_view->viewport()->update();
    }

    RecommendationModel* m_recommendations;

    bool handleKey(const QKeyEvent* key, const QString& field) override
    {
        const bool adding = inserting(m_rows);
        if (opensList(key) && (field == kReference || field == kGroup || field == kNames)) {
            hostfw::RunAction(
                [&] { m_core.recommendationPage().dbgRefeRecomEditButtonClick(field); });
            return true;
        }
        if (key->key() == Qt::Key_Delete && !adding) {
            if (m_rows.isEditing())
                hostfw::RunAction([&] { m_core.recommendationPage().cancel(); });
            return true;
        }
        if (key->key() == Qt::Key_Tab && field == kGroup) {
            const QModelIndex next =
                m_view->currentIndex().siblingAtColumn(m_view->currentIndex().column() + 1);
            if (next.isValid())
                m_view->setCurrentIndex(next);
            return true;
        }
        // Characters only while a new row is inserted (Enter always).
        return typesText(key) && !adding;
    }
};

RecommendationTab::RecommendationTab(AssessmentForm& core, QWidget* page)
    : QObject(page),
      m_core(core)
{
    RecommendationPage& recs = core.recommendationPage();
    m_recommendationModel = new RecommendationModel(core, this);
    m_recommendationModel->setColumns({kReference, kGroup, kNames});
    m_nutrientModel = new records::DataSetModel(core.cdsNutrePaci, this);
    m_nutrientModel->setColumns({QStringLiteral("NMNUTRIENTE"), QStringLiteral("SGUNIDADE"),
                                 QStringLiteral("DSNUTPEATUAL"), QStringLiteral("DSNUTPEIDEAL"),
                                 QStringLiteral("DSNUTPEADEQU")});

    auto* tools = new QHBoxLayout;
    sbtIncluir = new QPushButton(QStringLiteral("Incluir"), page);
    sbtIncluir->setObjectName(QStringLiteral("sbtIncluir"));
    sbtExcluir = new QPushButton(QStringLiteral("Excluir"), page);
    sbtExcluir->setObjectName(QStringLiteral("sbtExcluir"));
    tools->addWidget(sbtIncluir);
    tools->addWidget(sbtExcluir);
    tools->addStretch(1);

    auto* split = new QSplitter(Qt::Vertical, page);
    dbgRefeRecom = makeGrid(split, QStringLiteral("dbgRefeRecom"), m_recommendationModel);
    dbgRefeRecom->setColumnWidth(0, 260);
    dbgRefeRecom->setColumnWidth(1, 160);
    m_grid = new RecommendationGridBinder(core, dbgRefeRecom, m_recommendationModel);
    dbgNutreRecom = makeGrid(split, QStringLiteral("dbgNutreRecom"), m_nutrientModel);
    dbgNutreRecom->setSelectionBehavior(QAbstractItemView::SelectRows);
    dbgNutreRecom->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dbgNutreRecom->setColumnWidth(0, 120);
    dbgNutreRecom->setColumnWidth(1, 45);
    dbgNutreRecom->setColumnWidth(2, 130);
    dbgNutreRecom->setColumnWidth(3, 150);
    split->setSizes({200, 240});

    auto* panDados = new QWidget(page);
    panDados->setObjectName(QStringLiteral("panDados"));
    auto* panel = new QFormLayout(panDados);
    const auto edit = [&](const QString& name, bool readOnly) {
        auto* e = new QLineEdit(panDados);
        e->setObjectName(name);
        e->setReadOnly(readOnly);
        e->setMaximumWidth(160);
        return e;
    };
    medPesoRec = edit(QStringLiteral("medPesoRec"), true);
    medAlturaRec = edit(QStringLiteral("medAlturaRec"), true);
    cbbPesoIdealRec = new QComboBox(panDados);
    cbbPesoIdealRec->setObjectName(QStringLiteral("cbbPesoIdealRec"));
    dbePesoIdeal = edit(QStringLiteral("dbePesoIdeal"), true);
    medPesoAdRec = edit(QStringLiteral("medPesoAdRec"), false);
    cbbTipoPaci = new QComboBox(panDados);
    cbbTipoPaci->setObjectName(QStringLiteral("cbbTipoPaci"));
    panel->addRow(QStringLiteral("Peso Atual (Kg)"), medPesoRec);
    panel->addRow(QStringLiteral("Altura (m)"), medAlturaRec);
    panel->addRow(QStringLiteral("Peso Ideal"), cbbPesoIdealRec);
    panel->addRow(QString(), dbePesoIdeal);
    panel->addRow(QStringLiteral("Peso Adequado (Kg)"), medPesoAdRec);
    panel->addRow(QStringLiteral("Tipo de Paciente"), cbbTipoPaci);

    auto* body = new QHBoxLayout;
    body->addWidget(split, 1);
    body->addWidget(panDados);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(tools);
    layout->addLayout(body, 1);

    connect(sbtIncluir, &QPushButton::clicked, this, [this, &recs] {
        hostfw::RunAction([&] { recs.include(); });
        focus(kReference);
    });
    connect(sbtExcluir, &QPushButton::clicked, this,
            [&recs] { hostfw::RunAction([&] { recs.deleteRecommendation(); }); });
    connect(medPesoAdRec, &QLineEdit::editingFinished, this,
            [this] { m_core.medPesoAdRec = medPesoAdRec->text().trimmed(); });
    connect(cbbPesoIdealRec, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_syncing)
            m_core.cbbPesoIdealRecIndex = index;
    });
    connect(cbbTipoPaci, &QComboBox::currentIndexChanged, this, [this, &recs](int index) {
        if (!m_syncing)
            recs.cbbTipoPaciIndex = index;
    });
}

void RecommendationTab::sync()
{
    const RecommendationPage& recs = m_core.recommendationPage();
    m_syncing = true;
    medPesoRec->setText(recs.medPesoRec);
    medAlturaRec->setText(recs.medAlturaRec);
    dbePesoIdeal->setText(recs.dbePesoIdeal());
    if (!medPesoAdRec->hasFocus())
        medPesoAdRec->setText(m_core.medPesoAdRec);
    for (const auto& [box, items, index] :
         {std::tuple{cbbPesoIdealRec, m_core.cbbPesoIdealRec, m_core.cbbPesoIdealRecIndex},
          std::tuple{cbbTipoPaci, recs.cbbTipoPaci, recs.cbbTipoPaciIndex}}) {
        QStringList shown;
        for (int i = 0; i < box->count(); ++i)
            shown << box->itemText(i);
        if (shown != items) {
            box->clear();
            box->addItems(items);
        }
        box->setCurrentIndex(index);
    }
    m_syncing = false;
    const bool editable = !m_core.readOnly();
    for (QWidget* w : std::initializer_list<QWidget*>{medPesoAdRec, cbbPesoIdealRec, dbePesoIdeal,
                                                      cbbTipoPaci, sbtIncluir, sbtExcluir})
        w->setEnabled(editable);
    m_recommendationModel->refresh();
    m_grid->follow();
}

void RecommendationTab::focus(const QString& control)
{
    sync();
    const int column = m_recommendationModel->columnOf(control);
    const int pending = m_recommendationModel->pendingRow();
    if (column >= 0)
        dbgRefeRecom->setCurrentIndex(m_recommendationModel->index(
            pending >= 0 ? pending : m_core.cdsNutrRefe.recNo(), column));
    if (dbgRefeRecom->isVisible() && dbgRefeRecom->isEnabled())
        dbgRefeRecom->setFocus();
}

}  // namespace workspace
