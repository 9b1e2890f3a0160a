#pragma once
// Scripted seams for window tests: dialogs that answer from a queue and
// record what was shown, an opener that records what it was asked to open.

#include <QString>
#include <QStringList>
#include <deque>

#include "ui/dialogs.h"
#include "ui/opener.h"

namespace testing_support {

class ScriptedDialogs : public ui::Dialogs {
public:
    struct Shown {
        QString kind;  // "information", "error", "confirm", "yesNo", "openFile"
        QString text;
    };
    std::vector<Shown> shown;
    std::deque<bool> confirmAnswers;  // default: OK
    std::deque<Answer> yesNoAnswers;  // default: Yes
    std::deque<QString> files;        // default: cancelled

    void information(QWidget*, const QString& text) override { shown.push_back({"information", text}); }
    void error(QWidget*, const QString& text) override { shown.push_back({"error", text}); }
    bool confirm(QWidget*, const QString& text) override {
        shown.push_back({"confirm", text});
        if (confirmAnswers.empty()) return true;
        bool a = confirmAnswers.front();
        confirmAnswers.pop_front();
        return a;
    }
    Answer yesNo(QWidget*, const QString& text) override {
        shown.push_back({"yesNo", text});
        if (yesNoAnswers.empty()) return Answer::Yes;
        Answer a = yesNoAnswers.front();
        yesNoAnswers.pop_front();
        return a;
    }
    QString openFile(QWidget*, const QString& caption, const QString&, const QString&) override {
        shown.push_back({"openFile", caption});
        if (files.empty()) return {};
        QString f = files.front();
        files.pop_front();
        return f;
    }

    QStringList texts() const {
        QStringList out;
        for (const auto& s : shown) out << s.text;
        return out;
    }
    QString last() const { return shown.empty() ? QString() : shown.back().text; }
    void clear() { shown.clear(); }
};

class RecordingOpener : public ui::Opener {
public:
    QStringList documents;
    QStringList urls;
    bool openDocument(const QString& path) override {
        documents << path;
        return true;
    }
    bool openUrl(const QString& address) override {
        urls << address;
        return true;
    }
};

}  // namespace testing_support
