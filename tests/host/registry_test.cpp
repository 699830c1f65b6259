#include "fake_app_server.h"

#include "host/consultation.h"
#include "host/patient_registry.h"
#include "host/patient_table_model.h"

#include "records/error.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QJsonObject>

using namespace host;
using namespace Qt::StringLiterals;

namespace {

QString recordsErrorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const records::Error& e) {
        return e.message();
    }
    ADD_FAILURE() << "no records::Error";
    return {};
}

}  // namespace

TEST(PatientRegistry, DecodesFieldsByNameWhateverTheirOrder)
{
    using records::FieldType;
    records::Packet packet;
    packet.fields = {{u"IDOBITO"_s, FieldType::String, 1},
                     {u"DTNASC"_s, FieldType::String, 10},  // a text column is read as ISO
                     {u"nmpaciente"_s, FieldType::String, 60},
                     {u"CDSEXO"_s, FieldType::String, 1},
                     {u"CDPACIENTE"_s, FieldType::String, 12},
                     {u"CDFILIAL"_s, FieldType::String, 4},
                     {u"EXTRA"_s, FieldType::Integer, 0}};
    packet.rows = {{u"S"_s, u"1950-02-28"_s, u"José da Silva"_s, u"0"_s, u"000123"_s, u"0001"_s, 7},
                   {QVariant(), u"2020-12-31T00:00:00"_s, u"Ana"_s, u"1 "_s, u"9"_s, u"0002"_s, 8}};

    const QList<Patient> patients = decodePatients(packet);
    ASSERT_EQ(patients.size(), 2);
    EXPECT_EQ(patients[0], (Patient{u"0001"_s, u"000123"_s, u"José da Silva"_s, u"0"_s,
                                    QDate(1950, 2, 28), true}));
    EXPECT_EQ(patients[1],
              (Patient{u"0002"_s, u"9"_s, u"Ana"_s, u"1"_s, QDate(2020, 12, 31), false}));
}

TEST(PatientRegistry, DeceasedFlagInItsUsualSpellings)
{
    fakes::FakeAppServer server;
    server.registry.fields[5].type = records::FieldType::Integer;
    server.registry.rows = {{u"1"_s, u"a"_s, u"A"_s, u"0"_s, QVariant(), 1},
                            {u"1"_s, u"b"_s, u"B"_s, u"0"_s, QVariant(), 0}};
    const QList<Patient> patients = fetchPatients(server);
    ASSERT_EQ(patients.size(), 2);
    EXPECT_TRUE(patients[0].deceased);
    EXPECT_FALSE(patients[1].deceased);
    EXPECT_FALSE(patients[0].birth.isValid());  // no birth date: the picker refuses it later
}

TEST(PatientRegistry, UnreadableRegistriesAndFailedRepliesSayWhy)
{
    // A failed reply is the picker's and the loopback test's case.
    fakes::FakeAppServer server;
    server.registry.fields.removeAt(2);  // no NMPACIENTE
    EXPECT_EQ(recordsErrorOf([&] { fetchPatients(server); }),
              u"A lista de pacientes do servidor não tem o campo NMPACIENTE."_s);

    records::Packet noCode{fakes::FakeAppServer::registryFields(), {}};
    noCode.rows.append({u"1"_s, u"  "_s, u"Sem código"_s, u"0"_s, QDateTime(), u"N"_s});
    EXPECT_TRUE(recordsErrorOf([&] { decodePatients(noCode); }).contains(u"sem código"_s));

    // A payload that is no packet at all.
    class Garbage : public records::AppServer
    {
        records::Reply call(const QString&, const QJsonArray&) override
        {
            return records::Reply::success(QJsonValue(u"lixo"_s));
        }
    } garbage;
    EXPECT_FALSE(recordsErrorOf([&] { fetchPatients(garbage); }).isEmpty());
}

TEST(ConsultationChoice, RefusesWhatCannotBeOpened)
{
    const Patient p{u"0001"_s, u"42"_s, u"Maria"_s, u"1"_s, QDate(2000, 5, 10), false};
    EXPECT_EQ(checkChoice({p, QDate(2000, 5, 10)}), std::nullopt);  // the day of birth
    EXPECT_EQ(checkChoice({p, QDate(2000, 5, 9)}),
              u"A data da consulta é anterior à data de nascimento do paciente."_s);
    EXPECT_EQ(checkChoice({Patient{}, QDate(2024, 1, 1)}), u"Escolha um paciente."_s);
    EXPECT_EQ(checkChoice({p, QDate()}), u"Informe a data da consulta."_s);
    Patient noBirth = p;
    noBirth.birth = QDate();
    EXPECT_EQ(checkChoice({noBirth, QDate(2024, 1, 1)}),
              u"O paciente não tem data de nascimento no cadastro."_s);
}

TEST(ConsultationChoice, IniProcParamsAreSixValuesInOrderWithNaiveMidnights)
{
    const Patient p{u"0001"_s, u"000042"_s, u"Maria Conceição"_s, u"1"_s, QDate(1988, 3, 27), true};
    const QVariantList params = iniProcParams({p, QDate(2024, 10, 27)});
    EXPECT_EQ(params.mid(0, 4),
              (QVariantList{u"0001"_s, u"000042"_s, u"Maria Conceição"_s, u"1"_s}));
    ASSERT_EQ(params.size(), 6);
    for (int i = 4; i < 6; ++i) {
        ASSERT_EQ(params[i].typeId(), QMetaType::QDateTime) << i;
        EXPECT_EQ(params[i].toDateTime().timeSpec(), Qt::UTC) << i;
        EXPECT_EQ(params[i].toDateTime().time(), QTime(0, 0)) << i;
    }
    // A date on which clocks jump at midnight in some zones still comes out whole.
    EXPECT_EQ(params[4].toDateTime().date(), QDate(1988, 3, 27));
    EXPECT_EQ(params[5].toDateTime().date(), QDate(2024, 10, 27));
}

TEST(PatientTableModel, ShowsTheRegistryInPortuguese)
{
    PatientTableModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.setPatients({{u"0001"_s, u"7"_s, u"Ana"_s, u"1"_s, QDate(2001, 2, 3), false},
                       {u"0002"_s, u"8"_s, u"Bia"_s, u"3"_s, QDate(1999, 12, 31), true},
                       {u"0002"_s, u"7"_s, u"Caio"_s, u"9"_s, QDate(), false}});
    ASSERT_EQ(model.rowCount(), 3);
    auto text = [&](int row, int column) { return model.index(row, column).data().toString(); };
    EXPECT_EQ(text(0, PatientTableModel::Sex), u"Feminino"_s);
    EXPECT_EQ(text(0, PatientTableModel::Birth), u"03/02/2001"_s);
    EXPECT_EQ(text(0, PatientTableModel::Deceased), u"Não"_s);
    EXPECT_EQ(text(1, PatientTableModel::Sex), u"Indefinido"_s);
    EXPECT_EQ(text(1, PatientTableModel::Deceased), u"Sim"_s);
    EXPECT_EQ(text(2, PatientTableModel::Sex), QString());  // unknown code
    EXPECT_EQ(text(2, PatientTableModel::Birth), QString());
    // Codes repeat across branches: the branch tells them apart.
    EXPECT_EQ(model.rowOf(u"7"_s), 0);
    EXPECT_EQ(model.rowOf(u"7"_s, u"0002"_s), 2);
    EXPECT_EQ(model.rowOf(u"7"_s, u"0003"_s), -1);
    model.setPatients({});
    EXPECT_EQ(model.rowCount(), 0);
}
