// Whole-file reads that map the file, the guard that keeps a shrinking mapped file from
// killing the program, and the pool that hands large buffers on.
#include <fcntl.h>
#include <gtest/gtest.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <filesystem>
#include <numeric>

#include "host/core/buffers/buffer_pool.h"
#include "host/core/files/guarded_mapping.h"
#include "host/core/files/whole_file.h"
#include "platform/utf8_path.h"
#include "support/temp_folder.h"

namespace {

#ifdef _WIN32
int OpenToRead(const std::string& path) {
    return ::_wopen(platform::PathFromUtf8(path).c_str(), _O_RDONLY | _O_BINARY);
}
#else
int OpenToRead(const std::string& path) { return ::open(path.c_str(), O_RDONLY); }
#endif

namespace fs = std::filesystem;
using testing_support::TempFolder;

std::string Pattern(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>(i * 7 + i / 4096);
    }
    return bytes;
}

std::string AsString(const host::SourceBytes& bytes) {
    return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

TEST(WholeFileRead, LargeFilesAreMappedSmallOnesReadBothExactly) {
    TempFolder folder;
    for (const std::size_t size : {std::size_t{1000}, std::size_t{3u << 20} + 17}) {
        const auto path = folder.Write("f" + std::to_string(size), Pattern(size));
        const auto read = host::ReadWholeFile(path);
        ASSERT_EQ(read.status, host::ReadStatus::kOk);
        EXPECT_EQ(read.bytes.mapped(), size > 1000);
        EXPECT_TRUE(read.bytes.intact());
        EXPECT_TRUE(AsString(read.bytes) == Pattern(size));
    }
}

TEST(WholeFileRead, DescriptorIsReadFromWhereItStands) {
    TempFolder folder;
    const std::string bytes = Pattern(1u << 20);
    const auto path = folder.Write("f", bytes);
    const int fd = OpenToRead(path);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::lseek(fd, 100, SEEK_SET), 100);
    const auto read = host::ReadWholeDescriptor(fd);
    ::close(fd);
    ASSERT_EQ(read.status, host::ReadStatus::kOk);
    EXPECT_TRUE(AsString(read.bytes) == bytes.substr(100));
}

#ifdef _WIN32
// Windows refuses to cut a file short while a view of it is mapped: the bytes stay the file's.
TEST(GuardedMapping, FileCannotBeCutShortUnderIt) {
    TempFolder folder;
    const std::size_t size = (2u << 20) + 5;
    const auto path = folder.Write("cut", std::string(size, 'x'));
    const int fd = OpenToRead(path);
    auto mapping = host::GuardedMapping::Map(fd, size);
    ::_close(fd);
    ASSERT_TRUE(mapping);
    std::error_code cut;
    fs::resize_file(folder.path() / "cut", 4096, cut);
    EXPECT_TRUE(cut);
    const auto sum = std::accumulate(mapping->data(), mapping->data() + size, std::size_t{0});
    EXPECT_EQ(sum, size * 'x');
    EXPECT_FALSE(mapping->damaged());
}
#else
TEST(GuardedMapping, FileCutShortUnderItReadsZerosAndIsMarkedDamaged) {
    TempFolder folder;
    const std::size_t size = (2u << 20) + 5;
    const auto cut = folder.Write("cut", std::string(size, 'x'));
    const auto kept = folder.Write("kept", std::string(size, 'y'));
    const int cutFd = OpenToRead(cut);
    const int keptFd = OpenToRead(kept);
    auto cutMap = host::GuardedMapping::Map(cutFd, size);
    auto keptMap = host::GuardedMapping::Map(keptFd, size);
    ::close(cutFd);
    ::close(keptFd);
    ASSERT_TRUE(cutMap && keptMap);

    ASSERT_EQ(::truncate(cut.c_str(), 4096), 0);
    // Reading every byte past the new end would raise SIGBUS without the guard.
    const auto sum = std::accumulate(cutMap->data(), cutMap->data() + size, std::size_t{0});
    EXPECT_EQ(sum, std::size_t{4096} * 'x');
    EXPECT_TRUE(cutMap->damaged());

    const auto keptSum = std::accumulate(keptMap->data(), keptMap->data() + size, std::size_t{0});
    EXPECT_EQ(keptSum, size * 'y');
    EXPECT_FALSE(keptMap->damaged());
}
#endif

#ifndef _WIN32
// The guard watches a fixed number of mappings (Windows needs no guard, and has no limit).
TEST(GuardedMapping, ManyMappingsAtOnceFallBackToReading) {
    TempFolder folder;
    const auto path = folder.Write("f", std::string(1u << 20, 'z'));
    std::vector<host::ReadResult> reads;
    for (int i = 0; i < 80; ++i) {
        reads.push_back(host::ReadWholeFile(path));
        ASSERT_EQ(reads.back().status, host::ReadStatus::kOk);
        EXPECT_EQ(reads.back().bytes.size(), 1u << 20);
    }
    EXPECT_TRUE(reads.front().bytes.mapped());
    EXPECT_FALSE(reads.back().bytes.mapped());
}
#endif

TEST(BufferPool, HandsBackTheSmallestKeptBlockThatFits) {
    host::BufferPool pool;
    host::ByteBuffer small = pool.Take(2u << 20);
    host::ByteBuffer large = pool.Take(8u << 20);
    const unsigned char* smallBlock = small.data();
    const unsigned char* largeBlock = large.data();
    pool.Give(std::move(large));
    pool.Give(std::move(small));

    host::ByteBuffer fits = pool.Take(1u << 20);
    EXPECT_EQ(fits.data(), smallBlock);
    EXPECT_EQ(fits.size(), 1u << 20);
    EXPECT_EQ(fits.capacity(), 2u << 20);
    host::ByteBuffer next = pool.Take(3u << 20);
    EXPECT_EQ(next.data(), largeBlock);
    EXPECT_EQ(next.size(), 3u << 20);

    // Small blocks are not kept; nothing kept that fits means a new block.
    pool.Give(host::ByteBuffer(1000));
    EXPECT_NE(pool.Take(9u << 20).data(), nullptr);
}

TEST(BufferPool, PreparedBlockGoesToTheNextTakeThatFits) {
    host::BufferPool pool;
    pool.Prepare(16u << 20, 9u << 20);
    host::ByteBuffer prepared = pool.Take(10u << 20);  // while its pages may still be made
    EXPECT_EQ(prepared.capacity(), 16u << 20);
    EXPECT_EQ(prepared.size(), 10u << 20);
    std::fill(prepared.data(), prepared.data() + prepared.size(), 7);
    EXPECT_EQ(std::count(prepared.data(), prepared.data() + prepared.size(), 7), 10 << 20);
    const unsigned char* block = prepared.data();
    pool.Give(std::move(prepared));

    // A kept block that is large enough makes another one needless.
    pool.Prepare(12u << 20, 12u << 20);
    EXPECT_EQ(pool.Take(12u << 20).data(), block);
    // A block prepared but not taken yet is kept, and given out later.
    pool.Prepare(20u << 20, 1u << 20);
    pool.Give(host::ByteBuffer(2u << 20));
    EXPECT_EQ(pool.Take(18u << 20).capacity(), 20u << 20);
}

}  // namespace
