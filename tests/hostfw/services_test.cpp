#include "hostfw/action.h"
#include "hostfw/busy.h"
#include "hostfw/confirm.h"
#include "hostfw/error_display.h"
#include "hostfw/errors.h"
#include "hostfw/messages.h"
#include "hostfw/reply_check.h"
#include "hostfw/text.h"

#include <gtest/gtest.h>

#include <QJsonArray>

using namespace hostfw;
using namespace Qt::StringLiterals;

TEST(TMessages, KeysMatchWithoutCaseTextsAreKeptExactlyAndTheFirstTwinWins)
{
    // Keys indented, Windows line ends, and a text with blanks at both ends.
    TMessages msg = TMessages::fromText(u"  Imc_Oms_Sele|IMC (OMS 1998) está selecionado.\n"
                                        u"Kcal| Kcal/dia \r\nKCAL|outro\n  Vazio|\nBarra|a|b\n"_s);
    EXPECT_EQ(msg.count(), 4);
    EXPECT_EQ(msg.Msg(u"imc_OMS_sele"_s), u"IMC (OMS 1998) está selecionado."_s);
    EXPECT_EQ(msg.Msg(u"kcal"_s), u" Kcal/dia "_s);
    EXPECT_EQ(msg.Msg(u"Barra"_s), u"a|b"_s);  // the key ends at the first bar
    EXPECT_TRUE(msg.contains(u"VAZIO"_s));
    EXPECT_FALSE(msg.contains(u"Nada"_s));
    EXPECT_EQ(msg.Msg(u"Nada"_s), QString());
    msg.add(u"Novo"_s, u"Texto"_s);
    EXPECT_EQ(msg.Msg(u"NOVO"_s), u"Texto"_s);

    EXPECT_THROW(TMessages::fromText(u"Chave|Texto\nsem barra\n"_s), records::Error);
    EXPECT_THROW(TMessages::fromText(u"|sem chave"_s), records::Error);
}

TEST(TextHelpers, BlanksPaddingAndTrimming)
{
    EXPECT_TRUE(EmptyString(QString()));
    EXPECT_TRUE(EmptyString(u"  \t "_s));
    EXPECT_FALSE(EmptyString(u" x "_s));
    EXPECT_EQ(Ajusta(u"5"_s, 2), u"05"_s);
    EXPECT_EQ(Ajusta(u"12"_s, 2), u"12"_s);
    EXPECT_EQ(Ajusta(u"123"_s, 2), u"123"_s);  // never cut
    EXPECT_EQ(Ajusta(QString(), 3), u"000"_s);
    EXPECT_EQ(AllTrim(u"  a b \t"_s), u"a b"_s);
    EXPECT_EQ(RTrim(u"  a b  "_s), u"  a b"_s);
    EXPECT_EQ(AllTrim(u"   "_s), QString());
}

TEST(RunAction, ShowsErrorsOnceAndSwallowsTheAbortOfMensErro)
{
    ErrorRecorder errors;
    int ran = 0;
    EXPECT_TRUE(RunAction([&] { ++ran; }));
    EXPECT_TRUE(errors.messages().isEmpty());

    // MensErro shows its message and stops or goes on; when it stops, RunAction does not
    // show the message again.
    bool after = false;
    EXPECT_FALSE(RunAction([&] {
        MensErro(u"Aviso."_s, false);
        MensErro(u"Data final deve ser informada."_s, true);
        after = true;
    }));
    EXPECT_FALSE(after);
    EXPECT_EQ(errors.messages(), (QStringList{u"Aviso."_s, u"Data final deve ser informada."_s}));

    errors.clear();
    EXPECT_FALSE(RunAction([] { throw records::Error(u"falhou"_s); }));
    EXPECT_FALSE(RunAction([] { throw std::runtime_error("inesperado"); }));
    EXPECT_FALSE(RunAction([] { throw Abort(); }));
    EXPECT_EQ(errors.messages(), (QStringList{u"falhou"_s, u"inesperado"_s}));
}

TEST(RunAction, AStaleDataRefusalIsShownThenTheLatestLivingReloadRuns)
{
    ErrorRecorder errors;
    QStringList reloaded;
    auto staleReply = [] { CheckResultServ(records::Reply::staleFailure(u"alterado"_s)); };
    const StaleDataReload outer([&] { reloaded << u"janela"_s; });
    {
        const StaleDataReload inner([&] {
            reloaded << u"consulta"_s;
            throw records::Error(u"servidor fora do ar"_s);
        });
        EXPECT_FALSE(RunAction(staleReply));
    }
    EXPECT_FALSE(RunAction(staleReply));
    // Any other failure reloads nothing.
    EXPECT_FALSE(RunAction([] { CheckResultServ(records::Reply::failure(u"outro"_s)); }));
    EXPECT_EQ(reloaded, (QStringList{u"consulta"_s, u"janela"_s}));
    EXPECT_EQ(errors.messages(),
              (QStringList{u"alterado"_s, u"servidor fora do ar"_s, u"alterado"_s, u"outro"_s}));
}

TEST(CheckResultServ, ReturnsThePayloadOrEndsTheOperation)
{
    ErrorRecorder errors;
    const QJsonValue payload = CheckResultServ(records::Reply::success(QJsonArray{1, 2}), true, 0);
    EXPECT_EQ(payload.toArray().size(), 2);

    try {
        CheckResultServ(records::Reply::failure(u"violação de chave primária"_s), true, 0);
        FAIL() << "no error";
    } catch (const records::Error& error) {
        EXPECT_EQ(error.message(), u"violação de chave primária"_s);
    }
    EXPECT_TRUE(errors.messages().isEmpty());  // shown by the outermost handler, once

    // A failure with no text still says that something failed.
    errors.clear();
    EXPECT_FALSE(RunAction([] { CheckResultServ(records::Reply::failure(QString())); }));
    ASSERT_EQ(errors.messages().size(), 1);
    EXPECT_FALSE(errors.last().isEmpty());

    // Without raising, the text is shown and the caller goes on with no payload.
    errors.clear();
    EXPECT_TRUE(CheckResultServ(records::Reply::failure(u"y"_s), false, 0).isUndefined());
    EXPECT_EQ(errors.messages(), QStringList{u"y"_s});
}

TEST(Confirm, AnswersComeFromTheSeam)
{
    EXPECT_FALSE(Confirm(u"Sem tela?"_s));  // nobody to ask: no
    setNextAnswer(true);
    EXPECT_TRUE(Confirm(u"Confirma?"_s));
    EXPECT_FALSE(Confirm(u"Confirma?"_s));

    ConfirmRecorder answers({true, false});
    EXPECT_TRUE(Confirm(u"Primeira?"_s));
    EXPECT_FALSE(Confirm(u"Segunda?"_s));
    EXPECT_FALSE(Confirm(u"Terceira?"_s));
    EXPECT_EQ(answers.questions(), (QStringList{u"Primeira?"_s, u"Segunda?"_s, u"Terceira?"_s}));
}

TEST(BusyGuard, HidesOnTheNormalAndTheErrorPath)
{
    ErrorRecorder errors;
    BusyRecorder busy;
    {
        BusyGuard guard(&busy, AviKind::Processing);
        EXPECT_TRUE(busy.visible());
    }
    EXPECT_FALSE(busy.visible());
    EXPECT_FALSE(RunAction([&] {
        BusyGuard outer(&busy, AviKind::Saving, u"Atualizando informações no servidor..."_s);
        BusyGuard inner(&busy, AviKind::Searching);
        EXPECT_EQ(busy.depth(), 2);
        CheckResultServ(records::Reply::failure(u"falhou"_s));
    }));
    EXPECT_FALSE(busy.visible());
    EXPECT_EQ(errors.messages(), QStringList{u"falhou"_s});  // shown once, by RunAction
    EXPECT_EQ(busy.texts().size(), 3);
    EXPECT_EQ(busy.texts()[1], u"Atualizando informações no servidor..."_s);  // the text given
    BusyGuard none(nullptr, AviKind::Processing);  // no indicator: nothing to do
}
