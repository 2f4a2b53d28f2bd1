// The numbers of the texts the user reads follow the user's format, whichever it is, and
// stay plain where no format is installed.

#include "document/float_range.h"
#include "document/mesh_cleanup.h"
#include "document/mesh_gpu_order.h"
#include "document/mesh_simplifier.h"
#include "document/reported_number.h"

#include <gtest/gtest.h>

#include <cfloat>

using namespace MyApp;
using KelUtility::NumberFormat;

namespace {

NumberFormat Italian() { return NumberFormat(',', '.', "\3"); }
NumberFormat English() { return NumberFormat('.', ',', "\3"); }
// A French user groups with a no-break space.
NumberFormat French() { return NumberFormat(',', U'\u00A0', "\3"); }

} // namespace

TEST(ReportedNumberTest, ReportsAndMessagesWriteTheUsersNumbers) {
    SimplifyReport simplified;
    simplified.trianglesBefore = 131072;
    simplified.trianglesAfter = 1800;
    simplified.verticesRemoved = 64000;
    simplified.relativeError = 0.01254f;
    GpuOrderReport order;
    order.missRatioBefore = 1.5f;
    order.missRatioAfter = 0.754f;
    CleanupReport cleanup;
    cleanup.verticesRemoved = 12345;
    cleanup.trianglesRemoved = 7;
    const ValuePastFloat fault{2, "Y", 1e40};
    struct Case {
        NumberFormatSource source;
        const char* simplified;
        const char* order;
        const char* cleanup;
        const char* fault;
    };
    const Case cases[] = {
        {Italian,
         "Triangoli: prima 131.072, dopo 1.800.\nVertici rimossi: 64.000.\nErrore relativo: 1,25 %.",
         "prima 1,50, dopo 0,75.", "Vertici rimossi: 12.345\nTriangoli rimossi: 7",
         "Y = 1e+40, oltre il massimo di un numero a 32 bit (3,40282e+38)"},
        {English,
         "Triangoli: prima 131,072, dopo 1,800.\nVertici rimossi: 64,000.\nErrore relativo: 1.25 %.",
         "prima 1.50, dopo 0.75.", "Vertici rimossi: 12,345\nTriangoli rimossi: 7",
         "Y = 1e+40, oltre il massimo di un numero a 32 bit (3.40282e+38)"},
        {French,
         "Triangoli: prima 131\xC2\xA0" "072, dopo 1\xC2\xA0" "800.\nVertici rimossi: 64\xC2\xA0"
         "000.\nErrore relativo: 1,25 %.",
         "prima 1,50, dopo 0,75.", "Vertici rimossi: 12\xC2\xA0" "345\nTriangoli rimossi: 7",
         "Y = 1e+40, oltre il massimo di un numero a 32 bit (3,40282e+38)"},
        {nullptr,
         "Triangoli: prima 131072, dopo 1800.\nVertici rimossi: 64000.\nErrore relativo: 1.25 %.",
         "prima 1.50, dopo 0.75.", "Vertici rimossi: 12345\nTriangoli rimossi: 7",
         "Y = 1e+40, oltre il massimo di un numero a 32 bit (3.40282e+38)"},
    };
    for (const Case& c : cases) {
        SetReportedNumberFormat(c.source);
        EXPECT_EQ(Described(simplified), c.simplified);
        EXPECT_NE(Described(order).find(c.order), std::string::npos) << Described(order);
        EXPECT_EQ(Described(cleanup), c.cleanup);
        EXPECT_NE(Described(fault).find(c.fault), std::string::npos) << Described(fault);
    }
    SetReportedNumberFormat(Italian);
    EXPECT_EQ(ReportedCount(UINT64_MAX), "18446744073709551615");
    EXPECT_EQ(ReportedDecimal(-1234.5, 1), "-1.234,5");
    SetReportedNumberFormat(nullptr);
}
