#include "document/float_range.h"

#include "document/reported_number.h"
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <utility>

namespace MyApp {

bool FitsFloat(double value) {
    return std::fabs(value) <= FLT_MAX; // false for NaN as well
}

std::optional<ValuePastFloat> FirstValuePastFloat(const std::vector<MeshVertex>& vertices) {
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        const MeshVertex& vertex = vertices[i];
        const std::pair<const char*, double> values[] = {{"X", vertex.X},   {"Y", vertex.Y},
                                                         {"Z", vertex.Z},   {"Tu", vertex.Tu},
                                                         {"Tv", vertex.Tv}};
        for (const auto& [field, value] : values) {
            if (!FitsFloat(value))
                return ValuePastFloat{i + 1, field, value};
        }
    }
    return std::nullopt;
}

std::string Described(const ValuePastFloat& fault) {
    const std::string where =
        "il vertice " + std::to_string(fault.vertex) + " ha " + fault.field;
    if (std::isnan(fault.value))
        return where + " che non \xC3\xA8 un numero (NaN)";
    if (std::isinf(fault.value))
        return where + " infinito";
    return where + " = " + ReportedReal(fault.value) +
           ", oltre il massimo di un numero a 32 bit (" + ReportedReal(FLT_MAX) + ")";
}

} // namespace MyApp
