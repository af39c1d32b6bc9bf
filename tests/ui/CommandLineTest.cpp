#include "app/CCommandLine.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

using EAction = CCommandLine::EAction;

TEST(CommandLine, ActionsAndTheFile) {
    const QString here = QDir::currentPath() + u'/';
    const struct {
        QStringList args;
        EAction action;
        QString file;
        bool mayHoldQtOptions;
    } cases[] = {
        {{}, EAction::Run, {}, false},
        {{"/P", "/plans/a.txt"}, EAction::Run, "/plans/a.txt", false},
        {{"--", "--draft.txt"}, EAction::Run, here + "--draft.txt", false},
        {{"--version"}, EAction::Version, {}, false},
        {{"a.txt", "-h"}, EAction::Help, {}, false},
        {{"a.txt", "b.txt"}, EAction::Error, {}, false},
        {{"-platform", "offscreen", "--version"}, EAction::Error, {}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        CCommandLine line;
        EXPECT_EQ(line.Parse(QStringList{QStringLiteral("quillbox")} + c.args), c.action);
        EXPECT_EQ(line.File(), c.file);
        if (c.action == EAction::Error) {
            EXPECT_EQ(line.MayHoldQtOptions(), c.mayHoldQtOptions);
        }
    }
}

TEST(CommandLine, ErrorNamesTheArgument) {
    CCommandLine line;
    ASSERT_EQ(line.Parse({QStringLiteral("quillbox"), QStringLiteral("a.txt"), QStringLiteral("b.txt")}),
              EAction::Error);
    EXPECT_EQ(line.Text(EAction::Error), QStringLiteral("quillbox: Only one FILE can be opened; \"b.txt\" is one "
                                                        "too many.\nTry 'quillbox --help' for more information.\n"));
}

} // namespace
