#include "dataset_test_support.h"
#include "recording_app_server.h"

#include "records/dataset_model.h"
#include "records/layouts.h"
#include "records/write_through.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <memory>

using namespace records;
using namespace records::testing;

namespace {

QVariantMap type(const char* code, const char* name, const char* value)
{
    return {{"CDTIPODADO", code},
            {"NMTIPODADO", QString::fromUtf8(name)},
            {"DSINFOAVAL", value},
            {"DSUNIDDADO", "kg"}};
}

// Every complaint of the model tester (category qt.modeltest) fails the test.
QStringList g_modelComplaints;

void collectComplaints(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type != QtDebugMsg && context.category
        && QByteArray(context.category).startsWith("qt.modeltest"))
        g_modelComplaints.append(message);
}

class ModelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_modelComplaints.clear();
        m_previousHandler = qInstallMessageHandler(collectComplaints);
        ds.setIndexFieldNames(QStringLiteral("NMTIPODADO"));
        ds.loadPacket(
            packetOf(ds.fields(), {type("01", "Peso", "70,5"), type("02", "Altura", "1,75")}));
        model = std::make_unique<DataSetModel>(ds);
        tester = std::make_unique<QAbstractItemModelTester>(
            model.get(), QAbstractItemModelTester::FailureReportingMode::Warning);
    }

    void TearDown() override
    {
        tester.reset();
        model.reset();
        qInstallMessageHandler(m_previousHandler);
        EXPECT_TRUE(g_modelComplaints.isEmpty())
            << g_modelComplaints.join(QLatin1Char('\n')).toStdString();
    }

    QtMessageHandler m_previousHandler = nullptr;
    DataSet ds{layouts::cdsDadosAval()};
    std::unique_ptr<DataSetModel> model;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

}  // namespace

TEST_F(ModelTest, ShowsTheVisibleFieldsUnderTheirLabelsWithDisplayTexts)
{
    ASSERT_EQ(model->columnCount(), 4);
    EXPECT_EQ(
        model->headerData(1, Qt::Horizontal).toString(),
        layouts::cdsDadosAval().fields[ds.fieldIndex(QStringLiteral("DSINFOAVAL"))].displayLabel());
    EXPECT_EQ(model->fieldAt(1), QStringLiteral("DSINFOAVAL"));
    EXPECT_EQ(model->columnOf(QStringLiteral("CDTIPODADO")), -1);  // hidden
    ASSERT_EQ(model->rowCount(), 2);
    EXPECT_EQ(model->index(0, 0).data().toString(), QStringLiteral("Altura"));  // index order

    ds.setDisplayTextHandler(QStringLiteral("DSINFOAVAL"), [](const DataSet& d, int row) {
        return d.asStringAt(row, QStringLiteral("DSINFOAVAL")) + QStringLiteral(" *");
    });
    EXPECT_EQ(model->index(0, 1).data().toString(), QStringLiteral("1,75 *"));
    EXPECT_EQ(model->index(0, 1).data(Qt::EditRole).toString(), QStringLiteral("1,75"));

    EXPECT_TRUE(model->flags(model->index(0, 1)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model->flags(model->index(0, 0)) & Qt::ItemIsEditable);  // read-only

    model->setColumns({QStringLiteral("DSINFOAVAL"), QStringLiteral("CDTIPODADO")});
    EXPECT_EQ(model->columnCount(), 2);
    EXPECT_EQ(model->index(1, 1).data().toString(), QStringLiteral("01"));
}

TEST_F(ModelTest, EditingACellEditsAndPostsTheRow)
{
    QSignalSpy changed(model.get(), &QAbstractItemModel::dataChanged);
    EXPECT_TRUE(model->setData(model->index(1, 1), QStringLiteral("68")));
    EXPECT_EQ(ds.state(), DataSetState::Browse);
    EXPECT_EQ(ds.changeCount(), 1);
    EXPECT_EQ(ds.recNo(), 1);
    EXPECT_EQ(model->index(1, 1).data().toString(), QStringLiteral("68"));
    EXPECT_GE(changed.count(), 1);
    EXPECT_FALSE(model->setData(model->index(1, 0), QStringLiteral("Massa")));  // read-only
}

TEST_F(ModelTest, ARefusedValueOrAFailedWriteIsReportedAndTheOldValueStays)
{
    QSignalSpy errors(model.get(), &DataSetModel::errorOccurred);
    EXPECT_FALSE(model->setData(model->index(0, 1), QStringLiteral("1234567890")));  // 9 max
    EXPECT_EQ(model->index(0, 1).data().toString(), QStringLiteral("1,75"));

    RecordingAppServer server;
    server.answer = [](const QString&, const QJsonArray&) {
        return Reply::failure(QStringLiteral("Servidor indisponível."));
    };
    attachWriteThrough(ds, server, QStringLiteral("SetInfoAval"));
    EXPECT_FALSE(model->setData(model->index(1, 1), QStringLiteral("68")));
    ASSERT_EQ(errors.count(), 2);
    EXPECT_TRUE(errors.at(0).at(0).toString().contains(QStringLiteral("9")));
    EXPECT_EQ(errors.at(1).at(0).toString(), QStringLiteral("Servidor indisponível."));
    EXPECT_EQ(ds.state(), DataSetState::Browse);
    EXPECT_EQ(model->index(1, 1).data().toString(), QStringLiteral("70,5"));
    EXPECT_EQ(ds.changeCount(), 0);
}

TEST_F(ModelTest, FollowsTheDatasetThroughInsertsFiltersReloadsAndItsEnd)
{
    ds.append();
    ds.setValue(QStringLiteral("CDTIPODADO"), QStringLiteral("05"));
    ds.setValue(QStringLiteral("NMTIPODADO"), QStringLiteral("Circunferência do Braço"));
    ds.post();
    EXPECT_EQ(model->rowCount(), 3);
    EXPECT_EQ(model->index(1, 0).data().toString(), QStringLiteral("Circunferência do Braço"));

    ds.setFilter(QStringLiteral("DSUNIDDADO='kg'"));
    ds.setFiltered(true);
    EXPECT_EQ(model->rowCount(), 2);

    ds.disableControls();
    ds.clear();
    EXPECT_EQ(model->rowCount(), 0);  // counts come from the dataset
    ds.enableControls();

    auto other = std::make_unique<DataSet>(layouts::cdsInsTipoDado());
    other->loadPacket(packetOf(other->fields(), {{{"CDTIPODADO", "01"}}}));
    DataSetModel orphan(*other);
    QAbstractItemModelTester check(&orphan,
                                   QAbstractItemModelTester::FailureReportingMode::Warning);
    EXPECT_EQ(orphan.rowCount(), 1);
    other.reset();
    EXPECT_EQ(orphan.rowCount(), 0);
    EXPECT_EQ(orphan.columnCount(), 0);
}
