// Where a seek lands, from each origin, in memory, over a view and in a file: never before 0,
// and past the end where asked.
#include "base/Stream.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace drovak {
namespace {

using namespace test;

class StreamSeek : public ScratchTest {};

TEST_F(StreamSeek, EachOriginFromPosition3Of10) {
    const Bytes bytes = Pattern(10);
    MemoryStream memory(bytes);
    ViewStream view(bytes, "view");
    FileStream file(Write("ten.bin", bytes), FileMode::Read);
    const std::tuple<int64_t, SeekOrigin, uint64_t> cases[] = {
        {2, SeekOrigin::Begin, 2},    {2, SeekOrigin::Current, 5}, {-2, SeekOrigin::End, 8},
        {-9, SeekOrigin::Current, 0}, {4, SeekOrigin::End, 14},    {-1, SeekOrigin::Begin, 0},
    };
    for (Stream* stream : std::initializer_list<Stream*>{&memory, &view, &file}) {
        for (const auto& [offset, origin, landed] : cases) {
            stream->Seek(3, SeekOrigin::Begin);
            EXPECT_EQ(stream->Seek(offset, origin), landed) << offset;
            EXPECT_EQ(stream->Position(), landed) << offset;
        }
    }
}

} // namespace
} // namespace drovak
