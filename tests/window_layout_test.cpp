// The main window's geometry as a function of its client size.
#include <gtest/gtest.h>

#include "geometry/layout.h"

namespace sp {
namespace {

void expect_rect(const Rect& r, double left, double top, double width, double height)
{
    EXPECT_DOUBLE_EQ(r.left, left);
    EXPECT_DOUBLE_EQ(r.top, top);
    EXPECT_DOUBLE_EQ(r.width, width);
    EXPECT_DOUBLE_EQ(r.height, height);
}

TEST(Layout, DefaultClientArea)
{
    const Geometry g = layout(560, 484);
    EXPECT_EQ(g.gap_x, 4);
    EXPECT_EQ(g.gap_y, 4);
    expect_rect(g.Label10, 428, 4, 128, 24);
    // Damping, frequency ratio, Xm, DYg, Xo, Vox, Yo, Voy, Tmax from the top.
    const Rect* labels[] = {&g.Label1, &g.Label4, &g.Label7, &g.Label8, &g.Label2,
                            &g.Label3, &g.Label5, &g.Label6, &g.Label9};
    const Rect* fields[] = {&g.Text1, &g.Text4, &g.Text7, &g.Text8, &g.Text2,
                            &g.Text3, &g.Text5, &g.Text6, &g.Text9};
    for (int k = 0; k < 9; ++k) {
        expect_rect(*labels[k], 428, 32 + 28 * k, 48, 24);
        expect_rect(*fields[k], 476, 32 + 28 * k, 80, 24);
    }
    expect_rect(g.Label11, 428, 284, 128, 24);
    const Rect* values[] = {&g.Label12, &g.Label13, &g.Label14,
                            &g.Label15, &g.Label16, &g.Label17};
    for (int k = 0; k < 6; ++k)
        expect_rect(*values[k], 428, 312 + 28 * k, 128, 24);

    expect_rect(g.CmdOK, 360, 456, 64, 24);
    expect_rect(g.HScroll1, 4, 444, 64, 12);
    expect_rect(g.Label21, 28, 456, 16, 24);
    expect_rect(g.HScroll2, 80, 444, 64, 12);
    expect_rect(g.Command1, 80, 456, 64, 24);
    expect_rect(g.Frame1, 160, 422.4, 80, 57.6);
    expect_rect(g.Picture1, 4, 4, 420, 420);
    expect_rect(g.Picture2, 4, 4, 420, 420);
    expect_rect(g.VScroll1, 4, 4, 12, 206);
    expect_rect(g.Picture3, 16, 4, 404, 206);
    expect_rect(g.VScroll2, 4, 214, 12, 206);
    expect_rect(g.Picture4, 16, 214, 404, 206);

    EXPECT_EQ(g.blt_xs, 0);
    EXPECT_EQ(g.blt_ys, 0);
    EXPECT_EQ(g.blt_ws, 420);
    EXPECT_EQ(g.blt_hs, 420);
    EXPECT_EQ(g.blt_xd, 0);
    EXPECT_EQ(g.blt_yd, 0);
    EXPECT_EQ(g.blt_wd, 420);
    EXPECT_EQ(g.blt_hd, 420.0F);

    const PixelRect frame = whole_pixels(g.Frame1);
    EXPECT_EQ(frame.top, 422);
    EXPECT_EQ(frame.height, 58);
}

TEST(Layout, WideningMovesTheColumnAndGrowsThePanels)
{
    const Geometry a = layout(560, 484);
    const Geometry b = layout(600, 484);
    EXPECT_EQ(b.Label10.left - a.Label10.left, 40);
    EXPECT_EQ(b.Text9.left - a.Text9.left, 40);
    EXPECT_EQ(b.Label17.left - a.Label17.left, 40);
    EXPECT_EQ(b.CmdOK.left - a.CmdOK.left, 40);
    EXPECT_EQ(b.Frame1.left, a.Frame1.left);
    for (auto member : {&Geometry::Picture1, &Geometry::Picture2, &Geometry::Picture3,
                        &Geometry::Picture4})
        EXPECT_EQ((b.*member).width - (a.*member).width, 40);
    EXPECT_EQ(b.Picture1.height - a.Picture1.height, 40);
    EXPECT_EQ(b.Picture3.height - a.Picture3.height, 20);
    EXPECT_EQ(b.Picture4.top - a.Picture4.top, 20);
    EXPECT_EQ(b.blt_ws, b.Picture1.width);
    EXPECT_EQ(b.blt_hd, static_cast<float>(b.Picture1.height));
}

TEST(Layout, HeighteningMovesOnlyTheBottomRow)
{
    const Geometry a = layout(560, 484);
    const Geometry b = layout(560, 530);
    for (auto member : {&Geometry::CmdOK, &Geometry::HScroll1, &Geometry::Label21,
                        &Geometry::HScroll2, &Geometry::Command1, &Geometry::Frame1}) {
        EXPECT_DOUBLE_EQ((b.*member).top - (a.*member).top, 46);
        EXPECT_EQ((b.*member).left, (a.*member).left);
    }
    for (auto member : {&Geometry::Label10, &Geometry::Text9, &Geometry::Label17,
                        &Geometry::Picture1, &Geometry::Picture3, &Geometry::Picture4,
                        &Geometry::VScroll2}) {
        EXPECT_EQ((b.*member).top, (a.*member).top);
        EXPECT_EQ((b.*member).height, (a.*member).height);
    }
}

TEST(Layout, NarrowOrMinimisedWindowsGiveNoNegativeSizes)
{
    for (const double cw : {0.0, 100.0, 140.0, 150.0, -5.0}) {
        const Geometry g = layout(cw, 0);
        for (auto member : {&Geometry::Picture1, &Geometry::Picture2, &Geometry::Picture3,
                            &Geometry::Picture4, &Geometry::VScroll1, &Geometry::VScroll2}) {
            EXPECT_GE((g.*member).width, 0) << cw;
            EXPECT_GE((g.*member).height, 0) << cw;
        }
        EXPECT_GE(g.blt_ws, 0);
    }
    EXPECT_EQ(layout(100, 484).Picture1.width, 0);
    EXPECT_EQ(layout(150, 484).Picture1.width, 10);
    EXPECT_EQ(layout(150, 484).Picture3.width, 0);
    EXPECT_EQ(layout(150, 484).VScroll1.height, 1);
}

}  // namespace
}  // namespace sp
