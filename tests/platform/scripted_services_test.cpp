#include "support/scripted_services.h"

#include <QDialog>
#include <functional>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using namespace xo;
using platform::Answer;
using platform::Buttons;
using platform::Icon;

TEST(ScriptedServices, GivesTheScriptedAnswersInOrder) {
    test::ScriptedServices s;
    s.expectMessage(QStringLiteral("Uložit?"), Answer::No, Icon::Question);
    s.expectMessage(QStringLiteral("Hotovo"), Answer::Ok, Icon::Information);
    EXPECT_EQ(platform::message("Xo!", QStringLiteral("Uložit?"), Icon::Question, Buttons::YesNoCancel), Answer::No);
    EXPECT_EQ(platform::message("Xo!", QStringLiteral("Hotovo"), Icon::Information), Answer::Ok);
    EXPECT_EQ(s.messages.size(), 2u);
}

TEST(ScriptedServices, EveryMessageThatIsNotExactlyAsScriptedFailsTheTest) {
    auto fails = [](std::function<void(test::ScriptedServices &)> f) {
        test::ScriptedServices s;
        f(s);
    };
    EXPECT_NONFATAL_FAILURE(fails([](auto &) {
        EXPECT_EQ(platform::message("Xo!", "surprise", Icon::Question, Buttons::YesNoCancel), Answer::Cancel);
    }), "unexpected message: \"surprise\"");
    EXPECT_NONFATAL_FAILURE(fails([](auto &s) {
        s.expectMessage("a");
        platform::message("Xo!", "b", Icon::Exclamation);
    }), "where \"a\"");
    EXPECT_NONFATAL_FAILURE(fails([](auto &s) {
        s.expectMessage("a", Answer::Ok, Icon::Exclamation, "Kontrola dokumentu");
        platform::message("Xo!", "a", Icon::Exclamation);
    }), "caption \"Kontrola dokumentu\"");
    EXPECT_NONFATAL_FAILURE(fails([](auto &s) { s.expectMessage("waiting"); }), "expected message never shown: waiting");
}

TEST(ScriptedServices, ModalDialogsAreRunByTheTestOrRefused) {
    QDialog dlg;
    {
        test::ScriptedServices s;
        s.onModal = [](QDialog &d) {
            d.setObjectName("filled");
            return int(QDialog::Accepted);
        };
        EXPECT_EQ(platform::services().runModal(dlg), QDialog::Accepted);
        EXPECT_EQ(dlg.objectName(), "filled");
    }
    EXPECT_NONFATAL_FAILURE(
        {
            test::ScriptedServices s;
            QDialog other;
            EXPECT_EQ(platform::services().runModal(other), QDialog::Rejected);
        },
        "unexpected modal dialog");
}

TEST(ScriptedServices, InstallingAndLeavingRestoresThePreviousServices) {
    platform::Services *before = &platform::services();
    {
        test::ScriptedServices outer;
        {
            test::ScriptedServices inner;
            EXPECT_EQ(&platform::services(), &inner);
        }
        EXPECT_EQ(&platform::services(), &outer);
    }
    EXPECT_EQ(&platform::services(), before);
}
