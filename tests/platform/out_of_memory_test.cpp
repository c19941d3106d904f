// Memory that runs out while a module is read or rebuilt: each allocation
// in turn is made to fail, and every one must end as ENOMEM from the call
// that made it, never as an exception (nor, on the second thread of a
// rebuild, as the end of the program).
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "platform/resource_update.h"
#include "tests/test_support.h"

namespace {

// How many allocations may still succeed before one fails; -1: all do.
std::atomic<long> allocationsLeft{-1};

}  // namespace

// Replaced for the whole test program; nothing fails unless a test arms it.
void* operator new(std::size_t size) {
  if (allocationsLeft.load(std::memory_order_relaxed) >= 0 &&
      allocationsLeft.fetch_sub(1, std::memory_order_relaxed) == 0) {
    throw std::bad_alloc();
  }
  if (void* memory = std::malloc(size ? size : 1)) return memory;
  throw std::bad_alloc();
}
// Not inlined: the compiler would see a free of what `new` gave.
__attribute__((noinline)) void operator delete(void* memory) noexcept {
  std::free(memory);
}
__attribute__((noinline)) void operator delete(void* memory, std::size_t) noexcept {
  std::free(memory);
}

namespace ulk {
namespace {

long failAt = -1;

// From here the allocation numbered `failAt` fails: after what the test
// itself allocates to make its calls.
void Arm() {
  allocationsLeft.store(failAt);
}
// Whether an allocation failed since Arm.
bool Disarm() {
  return allocationsLeft.exchange(-1) < 0 && failAt >= 0;
}

// Runs `step` (which arms and disarms) with its n-th allocation failing,
// n = 0, 1, ... until it needs no more than it was given; `check` looks at
// each outcome. Returns how many allocations the step made.
template <typename Step, typename Check>
long FailEachAllocation(Step step, Check check) {
  for (long n = 0; n < 100000; ++n) {
    failAt = n;
    const auto [outcome, failed] = step();
    failAt = -1;
    check(outcome, failed);
    if (!failed || ::testing::Test::HasFailure()) return n;
  }
  ADD_FAILURE() << "no end of allocations";
  return 0;
}

TEST(OutOfMemoryTest, ReadingAModuleFailsWithEnomem) {
  const std::string path = testing::FixturePath("sample64.dll");
  const std::string bytes = testing::ReadFileBytes(path);
  for (const bool fromFile : {false, true}) {
    SCOPED_TRACE(fromFile ? "opened" : "loaded");
    const long allocations = FailEachAllocation(
        [&] {
          ModuleImage image;
          std::string copy = fromFile ? std::string() : bytes;
          Arm();
          const int code = fromFile ? image.Open(path) : image.Load(std::move(copy));
          const bool failed = Disarm();
          return std::make_pair(std::make_pair(code, image.IsOpen()), failed);
        },
        [](const std::pair<int, bool>& outcome, bool failed) {
          EXPECT_EQ(outcome.first, failed ? ENOMEM : 0);
          EXPECT_EQ(outcome.second, !failed);
        });
    EXPECT_GT(allocations, 10);
  }
}

TEST(OutOfMemoryTest, RebuildingAModuleFailsWithEnomemAndLeavesNoFile) {
  testing::TempDir dir("oom");
  ModuleImage image;
  ASSERT_EQ(image.Open(testing::FixturePath("withcode64.dll")), 0);
  const ResourceId type = ResourceId::Number(10);
  const ResourceId name = ResourceId::Name(std::string_view("extra"));
  const std::string extra(5000, 'x');
  std::string expected;
  {
    ResourceUpdate update(image);
    update.Put(type, name, 0x0409, extra);
    ASSERT_TRUE(update.Build(expected).ok());
  }
  for (const bool commit : {false, true}) {
    SCOPED_TRACE(commit ? "committed" : "built");
    const std::string target = dir / "out.dll";
    const long allocations = FailEachAllocation(
        [&] {
          std::string bytes = extra;
          std::string out;
          // The update made, changed and written with memory running out
          // anywhere on the way.
          Arm();
          ResourceUpdate update(image);
          update.Put(type, name, 0x0409, std::move(bytes));
          Status status = commit ? update.Commit(target, 0644) : update.Build(out);
          const bool failed = Disarm();
          return std::make_pair(std::make_pair(std::move(status), std::move(out)), failed);
        },
        [&](const std::pair<Status, std::string>& outcome, bool failed) {
          EXPECT_EQ(outcome.first.code(), failed ? ENOMEM : 0) << outcome.first.message();
          if (!failed) {
            EXPECT_TRUE((commit ? testing::ReadFileBytes(target) : outcome.second) == expected);
          }
          // No module after a failure.
          EXPECT_EQ(std::filesystem::exists(target), commit && !failed);
        });
    EXPECT_GT(allocations, 10);
  }
}

// Resources built as the section is written: memory that runs out in any
// of them fails the whole with ENOMEM.
TEST(OutOfMemoryTest, BuiltResourcesFailWithEnomem) {
  ModuleImage image;
  ASSERT_EQ(image.Open(testing::FixturePath("sample64.dll")), 0);
  constexpr std::uint32_t kCount = 64;
  const auto put = [](ResourceUpdate& update, std::vector<std::string>& datums) {
    for (std::uint32_t n = 1; n <= kCount; ++n) {
      update.Put(ResourceId::Number(10), ResourceId::Number(n), 0x0409, std::move(datums[n - 1]));
      update.PutBuilt(
          ResourceId::Number(11), ResourceId::Number(n), 0x0409,
          [n](std::string& out) {
            out.append(5000, static_cast<char>('A' + n % 26));
            return Status();
          },
          5000);
    }
  };
  const auto datums = [] {
    std::vector<std::string> made;
    for (std::uint32_t n = 1; n <= kCount; ++n) {
      made.emplace_back(5000, static_cast<char>('a' + n % 26));
    }
    return made;
  };
  std::string expected;
  {
    ResourceUpdate update(image);
    std::vector<std::string> bytes = datums();
    put(update, bytes);
    ASSERT_TRUE(update.Build(expected).ok());
  }
  FailEachAllocation(
      [&] {
        std::vector<std::string> bytes = datums();
        std::string out;
        Arm();
        ResourceUpdate update(image);
        put(update, bytes);
        Status status = update.Build(out);
        const bool failed = Disarm();
        return std::make_pair(std::make_pair(std::move(status), std::move(out)), failed);
      },
      [&](const std::pair<Status, std::string>& outcome, bool failed) {
        EXPECT_EQ(outcome.first.code(), failed ? ENOMEM : 0) << outcome.first.message();
        if (!failed) {
          EXPECT_TRUE(outcome.second == expected);
        }
      });
}

}  // namespace
}  // namespace ulk
