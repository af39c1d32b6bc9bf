#include "app/CProgressBar.h"
#include "app/CProgressDlg.h"
#include "app/CQtProgressHost.h"

#include "TestPorts.h"

#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Remembers the default button of every question, which the scripted prompt does not keep.
class CDefaultsPrompt : public CScriptedPrompt {
public:
    EPromptAnswer Ask(std::string_view text, std::string_view caption, EPromptButtons buttons, EPromptIcon icon,
                      int defaultButton) override {
        defaults.push_back(defaultButton);
        return CScriptedPrompt::Ask(text, caption, buttons, icon, defaultButton);
    }
    std::vector<int> defaults;
};

QImage Render(QWidget& w) {
    QImage img(w.size(), QImage::Format_RGB32);
    w.render(&img);
    return img;
}

int BluePixelsInRow(const QImage& img, int y) {
    int n = 0;
    for (int x = 0; x < img.width(); ++x)
        if (img.pixelColor(x, y) == QColor(0, 0, 255)) ++n;
    return n;
}

TEST(ProgressDlg, StopAndEscAskAbortWithNoAsDefault) {
    CDefaultsPrompt prompt;
    CProgressDlg dlg(prompt, nullptr);

    prompt.AnswerNo();
    QTest::keyClick(&dlg, Qt::Key_Escape);
    EXPECT_FALSE(dlg.IsAborted());

    prompt.AnswerYes();
    QTest::mouseClick(dlg.StopButton(), Qt::LeftButton);
    EXPECT_TRUE(dlg.IsAborted());

    ASSERT_EQ(prompt.Shown().size(), 2u);
    for (const auto& shown : prompt.Shown()) {
        EXPECT_EQ(shown.text, "Abort???");
        EXPECT_EQ(shown.buttons, EPromptButtons::YesNo);
    }
    EXPECT_EQ(prompt.defaults, (std::vector<int>{1, 1}));
}

TEST(ProgressDlg, PortFeedsTheBarAndReportsAStopMadeWhileItRuns) {
    CScriptedPrompt prompt;
    CQtProgressHost host(prompt);
    auto progress = host.OpenProgress();
    CProgressDlg* dlg = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* d = qobject_cast<CProgressDlg*>(w)) dlg = d;
    ASSERT_NE(dlg, nullptr);
    QPointer<CProgressDlg> watch(dlg);

    progress->SetRange(500);
    progress->SetPosText(125, "Files");
    EXPECT_EQ(dlg->Bar()->State().Label(), "Files");

    // The user presses Stop while the operation runs; the next feed lets the click through.
    prompt.AnswerYes();
    QTimer::singleShot(0, dlg, [dlg] { dlg->StopButton()->click(); });
    EXPECT_FALSE(progress->IsAborted());
    progress->SetPos(130);
    EXPECT_TRUE(progress->IsAborted());

    progress.reset();
    EXPECT_TRUE(watch.isNull()) << "the dialog closes with its operation";
}

TEST(ProgressDlg, QuitDuringAnOperationEndsTheProgramAfterIt) {
    CScriptedPrompt prompt;
    QWidget owner;
    owner.show();
    int fed = 0;
    bool ownerStayedOpen = false;
    QTimer::singleShot(0, [&] {
        CQtProgressHost host(prompt, &owner);
        auto progress = host.OpenProgress();
        progress->SetRange(10);
        // The quit arrives while the feeds let events through.
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        for (int i = 1; i <= 10; ++i) {
            progress->SetPos(i);
            ++fed;
        }
        ownerStayedOpen = owner.isVisible();
    });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(3); });
    guard.start(5000);
    EXPECT_EQ(QApplication::exec(), 0) << "the quit was honoured, not the guard";
    EXPECT_EQ(fed, 10);
    EXPECT_TRUE(ownerStayedOpen) << "no window was closed under the running operation";
}

TEST(ProgressBar, BandFollowsThePositionAndStopsAtTheEnd) {
    CProgressBar bar;
    bar.resize(400, 80);
    const int inner = 400 - 2 * (400 / 40);
    const int y = bar.BandRect().center().y();
    bar.SetRange(100);
    bar.SetPos(250); // past the end: the band stops there
    EXPECT_EQ(bar.BandWidth(), inner);
    // The round marker covers a few pixels at the band's end.
    EXPECT_NEAR(BluePixelsInRow(Render(bar), y), inner, 12);
}

TEST(ProgressDlg, StopWorksWhileTheOwnerIsDisabled) {
    CScriptedPrompt prompt;
    auto* owner = new QWidget;
    owner->show();
    QPointer<CProgressDlg> dlg = new CProgressDlg(prompt, owner);
    owner->setEnabled(false);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_TRUE(dlg->isEnabled());
    EXPECT_TRUE(dlg->StopButton()->isEnabled());
    delete owner;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dlg.isNull()) << "gone with its owner";
}
} // namespace
