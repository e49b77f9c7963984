#include "addon/hooks/SavedTimeCapture.h"
#include "addon/hooks/HostMessages.h"
#include "addon/store/SavedTimeRecord.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/PropertyListFile.h"
#include "tests/support/AddonFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <memory>
#include <utility>

namespace {

// Stand-ins for the Clock application's stopwatch classes, declared the way the host declares
// them: only their variables and selectors matter to the add-on.
class FakeLapTimeView : public NSObject {
  public:
    static constexpr const char* kClassName = "FakeLapTimeView";
    using Super = NSObject;
    static void describe(rt::ClassBuilder& b) {
        b.method<&FakeLapTimeView::currentLapTime>(lv::host::currentLapTime);
    }
    double currentLapTime() { return lap; }
    double lap = 0;
};

class FakeStopwatch : public NSObject {
  public:
    static constexpr const char* kClassName = "FakeStopwatch";
    using Super = NSObject;
    static void describe(rt::ClassBuilder& b) {
        b.ivar(lv::host::ivar::laptimeView).ivar(lv::host::ivar::laps);
    }
};

class FakeStopwatchWithoutVariables : public NSObject {
  public:
    static constexpr const char* kClassName = "FakeStopwatchWithoutVariables";
    using Super = NSObject;
};

class SavedTimeCaptureTest : public testing_support::DeviceHomeTest {
  protected:
    id stopwatch(double current, const std::vector<double>& finished) {
        auto screen = rt::make<FakeStopwatch>();
        auto view = rt::make<FakeLapTimeView>();
        view->lap = current;
        auto laps = NSMutableArray::with();
        for (double lap : finished) {
            laps->addObject(NSNumber::withDouble(lap));
        }
        lv::host::ivar::laptimeView.set(screen, view);
        lv::host::ivar::laps.set(screen, laps);
        return screen;
    }

    std::shared_ptr<NSArray> savedRecords() const {
        auto file = readPreferences(lv::kSavedTimesFileName);
        return file ? file->objectAs<NSArray>("Times - Default") : nullptr;
    }
};

TEST_F(SavedTimeCaptureTest, TheExampleResultIsStoredWithLapsCutToTenthsAndAnExactTotal) {
    ASSERT_TRUE(lv::captureSavedTime(stopwatch(15.36, {30.04, 30.03})).written);
    auto records = savedRecords();
    ASSERT_TRUE(records);
    ASSERT_EQ(records->count(), 1U);
    auto record = records->objectAs<NSDictionary>(0);
    ASSERT_EQ(record->count(), 4U);
    auto laps = record->objectAs<NSArray>(lv::kAllLapsKey);
    ASSERT_EQ(laps->count(), 3U);
    EXPECT_EQ(laps->objectAs<NSNumber>(0)->doubleValue(), static_cast<double>(30.0F));
    EXPECT_EQ(laps->objectAs<NSNumber>(1)->doubleValue(), static_cast<double>(30.0F));
    EXPECT_EQ(laps->objectAs<NSNumber>(2)->doubleValue(), static_cast<double>(15.3F));
    EXPECT_EQ(record->objectAs<NSNumber>(lv::kLastLapKey)->doubleValue(), static_cast<double>(15.3F));
    EXPECT_DOUBLE_EQ(record->objectAs<NSNumber>(lv::kTotalTimeKey)->doubleValue(), 75.43);
    EXPECT_EQ(record->objectAs<NSDate>(lv::kDateKey)->timeIntervalSince1970(), testing_support::kFixedNow);
}

TEST_F(SavedTimeCaptureTest, TheFileHoldsTheWidenedSinglePrecisionLap) {
    ASSERT_TRUE(lv::captureSavedTime(stopwatch(75.36, {})).written);
    std::string text = testing_support::readWholeFile(preferencesFile(lv::kSavedTimesFileName));
    EXPECT_NE(text.find("<real>75.300003051757812</real>"), std::string::npos) << text;
}

TEST_F(SavedTimeCaptureTest, FinishedLapsKeepTheStopwatchsOrderAndTheCurrentLapComesLast) {
    ASSERT_TRUE(lv::captureSavedTime(stopwatch(5.55, {20.17, 10.42, 30.99})).written);
    auto view = lv::readSavedTime(savedRecords()->objectAtIndex(0));
    EXPECT_EQ(view.laps, (std::vector<float>{20.1F, 10.4F, 30.9F, 5.5F}));
    EXPECT_EQ(view.lastLap, 5.5F);
}

TEST_F(SavedTimeCaptureTest, WithoutFinishedLapsTheOnlyLapIsTheLastLapAndTheTotalIsUncut) {
    ASSERT_TRUE(lv::captureSavedTime(stopwatch(12.34, {})).written);
    auto view = lv::readSavedTime(savedRecords()->objectAtIndex(0));
    ASSERT_EQ(view.laps.size(), 1U);
    EXPECT_EQ(view.laps[0], view.lastLap);
    EXPECT_FLOAT_EQ(view.lastLap, 12.3F);
    EXPECT_FLOAT_EQ(view.total, 12.34F);
}

TEST_F(SavedTimeCaptureTest, LapCountIsFinishedLapsPlusOneAndEachCaptureAppends) {
    for (std::size_t finished = 0; finished < 4; ++finished) {
        ASSERT_TRUE(lv::captureSavedTime(stopwatch(1.0, std::vector<double>(finished, 2.5))).written);
    }
    auto records = savedRecords();
    ASSERT_EQ(records->count(), 4U);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(lv::readSavedTime(records->objectAtIndex(i)).laps.size(), i + 1);
    }
}

TEST_F(SavedTimeCaptureTest, AScreenWithoutTheVariablesStoresAZeroResult) {
    ASSERT_TRUE(lv::captureSavedTime(rt::make<FakeStopwatchWithoutVariables>()).written);
    auto view = lv::readSavedTime(savedRecords()->objectAtIndex(0));
    EXPECT_EQ(view.laps, std::vector<float>{0.0F});
    EXPECT_EQ(view.total, 0.0F);
}

// A time the decimal sum cannot hold ends nothing: the capture is refused and nothing is
// stored (a stored "LASTTIME" of inf restores such a lap after a relaunch).
class SavedTimeCaptureRefusal : public SavedTimeCaptureTest,
                                public ::testing::WithParamInterface<std::pair<const char*, double>> {};

TEST_P(SavedTimeCaptureRefusal, OfATimeThatIsNotFiniteOrBeyondTheDecimalRange) {
    const double time = GetParam().second;
    for (const auto& [current, finished] :
         {std::pair{time, std::vector<double>{}}, std::pair{1.0, std::vector<double>{time, 2.0}}}) {
        lv::SavedTimesWrite result;
        EXPECT_NO_THROW(result = lv::captureSavedTime(stopwatch(current, finished)));
        EXPECT_FALSE(result.written);
        EXPECT_NE(result.reason.find("not a finite time"), std::string::npos) << result.reason;
        EXPECT_FALSE(savedRecords());
    }
}

INSTANTIATE_TEST_SUITE_P(Times, SavedTimeCaptureRefusal,
                         ::testing::Values(std::pair{"Infinity", std::numeric_limits<double>::infinity()},
                                           std::pair{"MinusInfinity",
                                                     -std::numeric_limits<double>::infinity()},
                                           std::pair{"NotANumber", std::numeric_limits<double>::quiet_NaN()},
                                           std::pair{"BeyondTheDecimalRange", 1e200}),
                         [](const auto& info) { return std::string(info.param.first); });

TEST_F(SavedTimeCaptureTest, ASumThatOverflowsTheDecimalRangeIsRefused) {
    // Each lap fits the decimal range (below about 1e165); their sum does not.
    EXPECT_FALSE(lv::captureSavedTime(stopwatch(9e164, {9e164})).written);
    EXPECT_FALSE(savedRecords());
    ASSERT_TRUE(lv::captureSavedTime(stopwatch(1e100, {1e100})).written);
    EXPECT_DOUBLE_EQ(lv::readSavedTime(savedRecords()->objectAtIndex(0)).total, static_cast<float>(2e100));
}

TEST_F(SavedTimeCaptureTest, AFailedWriteIsReported) {
    std::filesystem::remove_all(home.path() + "/Library");
    auto result = lv::captureSavedTime(stopwatch(1.0, {}));
    EXPECT_FALSE(result.written);
    EXPECT_FALSE(result.reason.empty());
}

} // namespace
