// A long run through the real window and run loop, with the pause shortened: memory must
// stay flat and every picture must keep its panel's size and stay drawable.
#include <QPushButton>
#include <fstream>
#include <unistd.h>

#include "qtdrawing/qt_drawing.h"
#include "window/form3.h"
#include "window/panel.h"
#include "window_fixture.h"

namespace {

// Resident memory in bytes, from the kernel's own count.
long residentBytes()
{
    long pages = 0;
    long resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

// The window with the pause cut to one round of event handling, so that 200 000 steps
// take seconds instead of half an hour; everything else is the program's own.
class FastForm1 : public TestForm1 {
public:
    using TestForm1::TestForm1;

private:
    void Wait(double) override { QCoreApplication::processEvents(); }
};

TEST(Soak, TwoHundredThousandStepsKeepMemoryFlatAndPicturesInBounds)
{
    sp::RecordingPlatform platform;
    FastForm1 form(platform);
    form.show();
    QCoreApplication::processEvents();
    // Tmax 4000 is 200 000 steps of the default step; Xo and Vox make the load swing
    // far beyond the plane, so clipping is exercised all the way.
    form.findChild<QLineEdit*>("Text9")->setText("4000");
    form.findChild<QLineEdit*>("Text2")->setText("1.5");
    form.findChild<QLineEdit*>("Text3")->setText("3");

    std::vector<sp::Panel*> panels;
    for (const char* name : {"Picture1", "Picture2", "Picture3", "Picture4"})
        panels.push_back(form.findChild<sp::Panel*>(name));
    panels.push_back(form.magnifier()->panel());

    long steps = 0;
    long warm = 0;
    long peak_after_warm = 0;
    bool in_bounds = true;
    QObject::connect(&form, &sp::Form1::stepDrawn, [&] {
        ++steps;
        if (steps % 1000 != 0)
            return;
        for (sp::Panel* panel : panels)
            in_bounds = in_bounds && sp::to_qsize(panel->surface().size()) == panel->size() &&
                        !panel->surface().image().null() && std::isfinite(panel->surface().pen_x()) &&
                        std::isfinite(panel->surface().pen_y());
        if (steps == 20'000)
            warm = residentBytes();
        if (steps > 20'000)
            peak_after_warm = std::max(peak_after_warm, residentBytes());
    });
    form.findChild<QPushButton*>("CmdOK")->click();

    // The single-precision time falls a little behind the exact sum, so a few more steps.
    EXPECT_GE(steps, 200'000);
    EXPECT_LT(steps, 201'000);
    EXPECT_TRUE(in_bounds);
    // Nothing of the trajectory is kept, so after warming up the memory must not grow
    // with the number of steps; a few MiB allow for allocator noise.
    EXPECT_LT(peak_after_warm - warm, 8L << 20) << "warm " << warm << ", peak " << peak_after_warm;
    EXPECT_EQ(platform.count(sp::RecordingPlatform::Kind::Tone), 1u);
    RecordProperty("resident_after_warm_up", std::to_string(warm));
    RecordProperty("resident_peak", std::to_string(peak_after_warm));
    std::printf("soak: %ld steps, resident %ld KiB after 20 000 steps, peak %ld KiB after\n", steps,
                warm / 1024, peak_after_warm / 1024);
}

}  // namespace
