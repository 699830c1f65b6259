#include "fake_app_server.h"
#include "fake_module_access.h"

#include "host/consultation.h"
#include "host/host_error.h"
#include "host/host_options.h"
#include "host/host_startup.h"
#include "host/module_loader.h"
#include "host/widgets/main_window.h"
#include "host/widgets/patient_picker_dialog.h"

#include "hostfw/clock.h"
#include "hostfw/error_display.h"
#include "hostfw/host_settings.h"
#include "hostfw/widgets/mdi_host.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>

using namespace host;
using namespace Qt::StringLiterals;
using host::fakes::FakeModule;

namespace {

QString loadErrorOf(const QString& path)
{
    try {
        ModuleLoader loader(path);
    } catch (const HostError& e) {
        return e.message();
    }
    ADD_FAILURE() << "loaded " << qPrintable(path);
    return {};
}

const Patient kMaria{u"0001"_s, u"000042"_s,        u"Maria Conceição"_s,
                     u"1"_s,    QDate(1988, 3, 27), false};

}  // namespace

TEST(ModuleLoader, TheModuleSeesTheHostsSettingsAndMdiArea)
{
    // The module links the host framework itself; it must still read the host's copy.
    const hostfw::HostSettings saved = hostfw::hostSettings();
    HostOptions options;
    options.server = {u"10.9.8.7"_s, 9999};
    applyToHostSettings(options, u"tok-123"_s);
    QMdiArea area;
    hostfw::setMdiHost(&area);

    ModuleLoader loader(QStringLiteral(FAKE_MODULE_PATH));
    FakeModule fake(loader);
    fake.reset();
    loader.openConsultation({kMaria, QDate(2024, 1, 2)});

    const FakeModule::Seen seen = fake.seen();
    EXPECT_EQ(seen.webUrl, u"10.9.8.7"_s);
    EXPECT_EQ(seen.webPort, 9999);
    EXPECT_EQ(seen.token, u"tok-123"_s);
    EXPECT_EQ(seen.mdi, &area);
    EXPECT_EQ(area.subWindowList().size(), 1);

    hostfw::setMdiHost(nullptr);
    hostfw::hostSettings() = saved;
}

TEST(ModuleLoader, MissingOrWrongModulesAreRefusedNamingThePath)
{
    QTemporaryDir dir;
    const QString notALibrary = dir.filePath(u"libavalnutr.so"_s);
    QFile file(notALibrary);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("não é uma biblioteca\n");
    file.close();
    // Missing, a directory, not a library, a library without IniProc.
    for (const QString& path : {dir.filePath(u"lib/libavalnutr.so"_s), dir.path(), notALibrary,
                                QStringLiteral(FAKE_MODULE_NO_ENTRY_PATH)}) {
        const QString text = loadErrorOf(path);
        EXPECT_TRUE(text.contains(path)) << qPrintable(text);
    }
    EXPECT_TRUE(loadErrorOf(dir.filePath(u"x.so"_s)).contains(u"--module"_s));
}

namespace {

// Stands for a form that refuses to close (unsaved changes, say).
class CloseRefuser : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::Close)
            return false;
        event->ignore();
        return true;
    }
};

class MainWindowTest : public ::testing::Test
{
protected:
    MainWindowTest()
    {
        server.addPatient(u"0001"_s, u"000042"_s, u"Maria Conceição"_s, u"1"_s, QDate(1988, 3, 27));
        server.addPatient(u"0001"_s, u"ERRO"_s, u"Paciente Com Falha"_s, u"0"_s, QDate(1950, 1, 1));
        server.addPatient(u"0003"_s, u"000777"_s, u"João Araújo"_s, u"0"_s, QDate(2016, 7, 9));
        fake.reset();
    }
    ~MainWindowTest() override { hostfw::setMdiHost(nullptr); }

    // Answers the modal picker once it is shown: picks the patient, or cancels.
    void answerPickerWith(const QString& code)
    {
        QTimer::singleShot(0, [code] {
            auto* picker = qobject_cast<PatientPickerDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(picker);
            if (code.isEmpty()) {
                picker->reject();
                return;
            }
            ASSERT_TRUE(picker->selectPatient(code));
            picker->accept();
        });
    }

    hostfw::FixedClock clock{QDate(2024, 5, 6)};
    fakes::FakeAppServer server;
    ModuleLoader loader{QStringLiteral(FAKE_MODULE_PATH)};
    FakeModule fake{loader};
    MainWindow window{server, [this](const ConsultationChoice& c) { loader.openConsultation(c); }};
};

}  // namespace

TEST_F(MainWindowTest, ActionsServerLabelAndTheHostMdiArea)
{
    ASSERT_TRUE(window.findChild<QMdiArea*>(u"mdiArea"_s));
    EXPECT_EQ(hostfw::mdiHost(), window.mdiArea());
    ASSERT_TRUE(window.findChild<QAction*>(u"actionAbrirConsulta"_s));
    ASSERT_TRUE(window.findChild<QAction*>(u"actionSair"_s));

    window.setServerDescription(u"127.0.0.1:8512"_s);
    EXPECT_EQ(window.findChild<QLabel*>(u"serverLabel"_s)->text(), u"Servidor: 127.0.0.1:8512"_s);

    // Once the window is gone the module finds no MDI host rather than a dangling one.
    {
        MainWindow other(server, [](const ConsultationChoice&) {});
        EXPECT_EQ(hostfw::mdiHost(), other.mdiArea());
    }
    EXPECT_EQ(hostfw::mdiHost(), nullptr);
}

TEST_F(MainWindowTest, OpenConsultationPicksAndCallsTheModuleWhichAddsAnMdiChild)
{
    window.show();
    hostfw::setMdiHost(window.mdiArea());

    answerPickerWith(u"000777"_s);
    window.openConsultationAction()->trigger();

    // The module gets iniProcParams' values (registry_test.cpp) as they are.
    ASSERT_EQ(fake.callCount(), 1);
    const Patient joao{u"0003"_s, u"000777"_s, u"João Araújo"_s, u"0"_s, QDate(2016, 7, 9), false};
    EXPECT_EQ(fake.call(0), iniProcParams({joao, QDate(2024, 5, 6)}));
    EXPECT_EQ(fake.call(0)[5].toDateTime().timeSpec(), Qt::UTC);
    EXPECT_EQ(window.mdiArea()->subWindowList().size(), 1);

    // Cancelling the picker opens nothing.
    answerPickerWith({});
    window.openConsultationAction()->trigger();
    EXPECT_EQ(fake.callCount(), 1);

    // Sair closes the module's window through its close handling before the host's.
    QPointer<QWidget> form = window.mdiArea()->subWindowList().first()->widget();
    auto* refusing = new QWidget;
    refusing->installEventFilter(new CloseRefuser(refusing));
    window.mdiArea()->addSubWindow(refusing)->show();
    window.findChild<QAction*>(u"actionSair"_s)->trigger();
    EXPECT_TRUE(window.isVisible());  // one window refused: the host stays
    EXPECT_EQ(window.mdiArea()->subWindowList().size(), 1);
    refusing->removeEventFilter(refusing->findChild<CloseRefuser*>());
    window.findChild<QAction*>(u"actionSair"_s)->trigger();
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(window.mdiArea()->subWindowList().isEmpty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(form.isNull());
}

TEST_F(MainWindowTest, AnErrorRaisedByTheModuleIsShownAndTheHostGoesOn)
{
    hostfw::ErrorRecorder errors;
    answerPickerWith(u"ERRO"_s);
    window.openConsultationAction()->trigger();
    EXPECT_EQ(fake.callCount(), 1);
    EXPECT_EQ(errors.messages(), QStringList{u"Falha simulada do módulo."_s});

    EXPECT_TRUE(window.openChoice({kMaria, QDate(2024, 5, 6)}));
    EXPECT_EQ(fake.callCount(), 2);
    EXPECT_EQ(errors.messages().size(), 1);
}
