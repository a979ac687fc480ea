#include "scripted_services.h"

#include <QDialog>
#include <gtest/gtest.h>

namespace xo::test {

using platform::Answer;
using platform::Buttons;

namespace {

Answer refusal(Buttons b) {
    switch (b) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::YesNo: return Answer::No;
    default: return Answer::Cancel;
    }
}

const char *iconName(platform::Icon i) {
    switch (i) {
    case platform::Icon::Exclamation: return "exclamation";
    case platform::Icon::Information: return "information";
    case platform::Icon::Question: return "question";
    case platform::Icon::Error: return "error";
    case platform::Icon::None: break;
    }
    return "none";
}

} // namespace

ScriptedServices::ScriptedServices() : previous_(platform::setServices(this)) {}

ScriptedServices::~ScriptedServices() {
    platform::setServices(previous_);
    for (const auto &e : expected_)
        ADD_FAILURE() << "expected message never shown: " << e.message.text.toStdString();
}

void ScriptedServices::expectMessage(const QString &text, Answer answer, platform::Icon icon, const QString &caption) {
    expected_.push_back({{caption, text, icon, Buttons::Ok}, answer});
}

Answer ScriptedServices::message(const platform::Message &m) {
    messages.push_back(m);
    if (onMessage) onMessage(m);
    if (expected_.empty() && answerAny) return answerAny(m);
    if (expected_.empty()) {
        ADD_FAILURE() << "unexpected message: \"" << m.text.toStdString() << "\" (caption \""
                      << m.caption.toStdString() << "\")";
        return refusal(m.buttons);
    }
    const Expected e = expected_.front();
    expected_.pop_front();
    if (e.message.text != m.text || e.message.caption != m.caption || e.message.icon != m.icon) {
        ADD_FAILURE() << "message \"" << m.text.toStdString() << "\" (caption \"" << m.caption.toStdString()
                      << "\", " << iconName(m.icon) << ") where \"" << e.message.text.toStdString()
                      << "\" (caption \"" << e.message.caption.toStdString() << "\", "
                      << iconName(e.message.icon) << ") was expected";
        return refusal(m.buttons);
    }
    return e.answer;
}

int ScriptedServices::runModal(QDialog &dialog) {
    if (!onModal) {
        ADD_FAILURE() << "unexpected modal dialog: " << dialog.windowTitle().toStdString();
        return QDialog::Rejected;
    }
    return onModal(dialog);
}

platform::FileResult ScriptedServices::nextFile(const platform::FileRequest &r) {
    fileRequests.push_back(r);
    if (fileResults.empty()) {
        ADD_FAILURE() << "unexpected file dialog: " << r.caption.toStdString();
        return {};
    }
    auto res = fileResults.front();
    fileResults.pop_front();
    return res;
}

platform::FileResult ScriptedServices::openFile(const platform::FileRequest &r) { return nextFile(r); }
platform::FileResult ScriptedServices::openFiles(const platform::FileRequest &r) { return nextFile(r); }
platform::FileResult ScriptedServices::saveFile(const platform::FileRequest &r) { return nextFile(r); }

std::optional<QColor> ScriptedServices::chooseColor(QColor, QStringList &, QWidget *) {
    if (colorResults.empty()) {
        ADD_FAILURE() << "unexpected colour dialog";
        return std::nullopt;
    }
    auto c = colorResults.front();
    colorResults.pop_front();
    return c;
}

std::optional<QFont> ScriptedServices::chooseFont(const QFont &, QWidget *) {
    ADD_FAILURE() << "unexpected font dialog";
    return std::nullopt;
}

std::optional<QString> ScriptedServices::chooseDirectory(const QString &caption, const QString &, QWidget *) {
    ADD_FAILURE() << "unexpected directory dialog: " << caption.toStdString();
    return std::nullopt;
}

} // namespace xo::test
