// A repaint of a cell whose size has not changed must not touch the heap:
// the bitmap, its painter and the shapes are all kept from the last paint.
// Counting works by replacing the global allocation functions of this test
// binary; only the blocks taken between the two readings matter.

#include "display/tdisplay.h"
#include "display_test_support.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long long> g_blocks{0};
}

void* operator new(std::size_t size) {
    g_blocks.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace tunevox::display {
namespace {

TEST(DisplayHeapUse, RepaintAtTheSameSizeTakesNoHeapBlocks) {
    test::EnsureApp();
    const struct {
        int width, height, margin, segWidth;
    } sizes[] = {{33, 47, 2, 3}, {33, 47, 2, 6}, {120, 200, 10, 15}};
    for (TDigitStyle style : {ds7Seg, ds16Seg, ds5x7Dot, ds5x7Bulb}) {
        for (const auto& size : sizes) {
            SCOPED_TRACE(testing::Message() << "style " << style << " width " << size.width);
            TDisplay cell;
            cell.resize(size.width, size.height);
            cell.SetMargin(size.margin);
            cell.SetSegWidth(size.segWidth);
            cell.SetDigitStyle(style);
            QImage surface(size.width, size.height, QImage::Format_RGB32);
            QPainter painter(&surface);
            cell.RenderTo(painter);  // first paint at this size makes the bitmap

            const long long before = g_blocks.load();
            for (int code = '0'; code <= '9'; ++code) {
                cell.SetDigit(static_cast<std::uint8_t>(code));
                cell.RenderTo(painter);
            }
            EXPECT_EQ(g_blocks.load() - before, 0);

            // A new size makes a new bitmap, and the paint after is free again.
            cell.resize(size.width + 1, size.height + 1);
            cell.RenderTo(painter);
            const long long afterResize = g_blocks.load();
            cell.SetDigit('A');
            cell.RenderTo(painter);
            EXPECT_EQ(g_blocks.load() - afterResize, 0);
        }
    }
}

}  // namespace
}  // namespace tunevox::display
