// The command line's default number of jobs: one for small files, one per processor for
// large ones, judged by the first files of the list.
#include "host/core/run/default_jobs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace {

using testing_support::TempFolder;

TEST(DefaultJobs, SmallFilesTakeOneJobAndLargeOnesOnePerProcessor) {
    TempFolder folder;
    const std::string small(1000, 'a'), large(host::kSmallFile, 'a');
    std::vector<std::string> files;
    for (int i = 0; i < 10; ++i) {
        files.push_back(folder.Write("small" + std::to_string(i), small));
    }
    EXPECT_EQ(host::DefaultJobs(files, 4), 1u);
    const std::vector<std::string> largeFiles = {folder.Write("a", large), folder.Write("b", large)};
    EXPECT_EQ(host::DefaultJobs(largeFiles, 4), 4u);
    EXPECT_EQ(host::DefaultJobs(largeFiles, 1), 1u);
    EXPECT_EQ(host::DefaultJobs({largeFiles.data(), 1}, 4), 1u);  // one file: nothing to share
    // The average decides: one large file among many small ones does not make them large.
    files.push_back(largeFiles[0]);
    EXPECT_EQ(host::DefaultJobs(files, 4), 1u);
    // Files past the sample are not looked at; missing files count as small.
    std::vector<std::string> many(host::kSample, largeFiles[0]);
    many.push_back(folder.str() + "/missing");
    EXPECT_EQ(host::DefaultJobs(many, 2), 2u);
    EXPECT_EQ(host::DefaultJobs(std::vector<std::string>{"-", folder.str() + "/missing"}, 2), 1u);
}

}  // namespace
