// How long from an arrow key on the preview to the new picture on screen, on the demo ROM.
// Needs a display (run under xvfb-run).
#include "../../tests/app/FakeDialogs.h"
#include "app/MainForm.h"
#include "demo/DemoRom.h"
#include "graphics/Level.h"
#include "preview/PreviewView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <fstream>
#include <vector>

namespace {

struct DemoWindow {
    QTemporaryDir folder;
    FakeDialogs dialogs;
    std::unique_ptr<drovak::app::MainForm> form;
    drovak::preview::PreviewView* view = nullptr;
    unsigned framesShown = 0;

    DemoWindow() {
        const std::vector<uint8_t> rom = drovak::MakeDemoRom();
        std::ofstream((folder.path() + "/tf3.bin").toStdString(), std::ios::binary)
            .write(reinterpret_cast<const char*>(rom.data()), std::streamsize(rom.size()));
        form = std::make_unique<drovak::app::MainForm>(folder.path() + "/", dialogs);
        view = form->findChild<drovak::preview::PreviewView*>("PreviewView");
        QObject::connect(view, &QOpenGLWidget::frameSwapped, [this] { ++framesShown; });
        form->show();
        form->activateWindow();
        if (!QTest::qWaitForWindowActive(form.get())) qWarning("the window did not become active");
        QTest::qWait(100);
        QTest::mouseClick(view, Qt::LeftButton);
    }

    // Presses an arrow key on the focused preview and waits until the new frame is on screen.
    void ScrollOnce() {
        const int key = form->Document().ScrollColumn >= drovak::LEVEL_LAST_SCROLL_COLUMN
                            ? Qt::Key_Left
                            : Qt::Key_Right;
        const unsigned before = framesShown;
        QTest::keyClick(view, static_cast<Qt::Key>(key));
        while (framesShown == before) QCoreApplication::processEvents();
    }
};

DemoWindow* window = nullptr;

void Median(benchmark::State& state, std::vector<double>& samples) {
    std::sort(samples.begin(), samples.end());
    state.counters["median_ms"] = samples.empty() ? 0 : samples[samples.size() / 2];
}

// Arrow key to new picture drawn, through the real window (the level stays decoded).
void BM_ArrowKeyToPictureDrawn(benchmark::State& state) {
    std::vector<double> samples;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        window->ScrollOnce();
        const double seconds = double(timer.nsecsElapsed()) / 1e9;
        state.SetIterationTime(seconds);
        samples.push_back(seconds * 1000);
    }
    Median(state, samples);
}
BENCHMARK(BM_ArrowKeyToPictureDrawn)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);

// What each key press would cost on top if the level were decoded again every time.
void BM_DecodeLevel(benchmark::State& state) {
    const std::string rom = (window->folder.path() + "/tf3.bin").toStdString();
    for (auto _ : state) benchmark::DoNotOptimize(drovak::DecodeLevel(rom, 0));
}
BENCHMARK(BM_DecodeLevel)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    window = new DemoWindow;
    benchmark::RunSpecifiedBenchmarks();
    delete window;
    benchmark::Shutdown();
    return 0;
}
