#include "printing/print_job.h"

#include <type_traits>

namespace lumaro {

RecordedJob::RecordedJob(const JobInfo& info, const PageGeometry& geometry)
    : info_(info), geometry_(geometry), pages_(1) {}

std::string RecordedJob::playOnto(PrintDevice& device) const {
    try {
        device.beginJob(info_);
        for (std::size_t page = 0; page < pages_.size(); ++page) {
            if (page > 0)
                device.newPage();
            for (const Op& op : pages_[page]) {
                std::visit(
                    [&](const auto& o) {
                        using T = std::decay_t<decltype(o)>;
                        if constexpr (std::is_same_v<T, Text>)
                            device.text(o.x, o.baseline, o.text, o.font, o.color);
                        else if constexpr (std::is_same_v<T, Line>)
                            device.line(o.x1, o.y1, o.x2, o.y2, o.pen);
                        else if constexpr (std::is_same_v<T, Outline>)
                            device.outline(o.rect, o.pen);
                        else if constexpr (std::is_same_v<T, Fill>)
                            device.fill(o.rect, o.color);
                        else
                            device.picture(o.rect, *o.image);
                    },
                    op);
            }
        }
        return device.endJob();
    } catch (...) {
        device.cancelJob();
        throw;
    }
}

}  // namespace lumaro
