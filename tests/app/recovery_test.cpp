// When a recovery copy is due, what its record says, and which copies are offered.

#include "app/recovery_record.h"
#include "app/recovery_schedule.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace MyApp;
using namespace std::chrono_literals;

TEST(RecoveryTest, ACopyIsDueWithinAMinuteOfAnUnwrittenChangeAndNeverWithoutOne) {
    RecoverySchedule schedule;
    const RecoverySchedule::Clock::time_point start{};
    EXPECT_FALSE(schedule.Due(start + 1h)) << "nothing changed";
    schedule.NoteChange(start);
    schedule.NoteChange(start + 30s); // joins the copy the first change made due
    EXPECT_FALSE(schedule.Due(start + 54s));
    EXPECT_TRUE(schedule.Due(start + 55s));
    schedule.NoteWritten();
    EXPECT_FALSE(schedule.Due(start + 10min)) << "nothing changed since the copy";
    schedule.NoteChange(start + 10min);
    EXPECT_TRUE(schedule.Due(start + 10min + 55s));
    schedule.Clear(); // saved, or given up
    EXPECT_FALSE(schedule.Due(start + 1h));
}

TEST(RecoveryTest, RecordsReadBackAndDamagedOnesAreRefused) {
    for (const RecoveryRecord& written :
         {RecoveryRecord{"C:\\Progetti\\città.kv3", "2026-12-08 09:15:30"},
          RecoveryRecord{"", "2027-01-31 23:59:59"}}) {
        RecoveryRecord read;
        ASSERT_TRUE(ReadRecord(RecordText(written), read));
        EXPECT_EQ(read.projectPath, written.projectPath);
        EXPECT_EQ(read.writtenAt, written.writtenAt);
    }
    EXPECT_EQ(ShownTime("2026-12-08 09:15:30"), "08/12/2026 alle 09:15");
    const std::string whole = RecordText({"a.kv3", "2026-12-08 09:15:30"});
    const std::vector<std::string> damagedRecords = {
        "", whole.substr(0, whole.size() - 2), "KEL MORVANE\r\na.kv3\r\n2026-12-08 09:15:30\r\n",
        "KEL MORVANE RIPRISTINO 1\r\na.kv3\r\n2026-12-8 09:15:30\r\n", whole + "altro\r\n"};
    for (const std::string& damaged : damagedRecords) {
        RecoveryRecord read;
        EXPECT_FALSE(ReadRecord(damaged, read)) << damaged;
    }
    const std::vector<FoundCopy> offered = CopiesToOffer(
        {{"a", {"", "2026-12-08 09:00:00"}, false}, {"b", {"", "2026-12-08 10:00:00"}, true},
         {"c", {"", "2026-12-08 11:00:00"}, false}});
    ASSERT_EQ(offered.size(), 2u) << "a running editor's copy is its own";
    EXPECT_EQ(offered[0].name, "c");
    EXPECT_EQ(offered[1].name, "a");
}
