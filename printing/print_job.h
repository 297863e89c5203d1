// One print job as the document drew it, sheet by sheet, in the device units
// of the device it was measured on. The surface records a job while the
// document draws and hands it to the device only when the document ends it:
// a job the run never ends (an error stopped the document; its data file stays
// and is printed whole next time) must not reach paper or a file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "printing/print_device.h"

namespace lumaro {

class RecordedJob {
  public:
    struct Text {
        double x, baseline;
        std::string text;
        DeviceFont font;
        std::int32_t color;
    };
    struct Line {
        double x1, y1, x2, y2;
        Pen pen;
    };
    struct Outline {
        DeviceRect rect;
        Pen pen;
    };
    struct Fill {
        DeviceRect rect;
        std::int32_t color;
    };
    struct Picture {
        DeviceRect rect;
        std::shared_ptr<const Image> image;
    };
    using Op = std::variant<Text, Line, Outline, Fill, Picture>;

    // geometry: the sheet the job was measured and laid out on.
    RecordedJob(const JobInfo& info, const PageGeometry& geometry);

    void add(Op op) { pages_.back().push_back(std::move(op)); }
    void setDocument(const DocumentLabel& document) { info_.document = document; }
    void newPage() { pages_.emplace_back(); }

    const JobInfo& info() const { return info_; }
    const PageGeometry& geometry() const { return geometry_; }
    int pages() const { return static_cast<int>(pages_.size()); }
    const std::vector<std::vector<Op>>& sheets() const { return pages_; }

    // Plays the whole job onto device (beginJob .. endJob) and returns what
    // endJob returned. When the device fails, the job is cancelled there and
    // the error passes on.
    std::string playOnto(PrintDevice& device) const;

  private:
    JobInfo info_;
    PageGeometry geometry_;
    std::vector<std::vector<Op>> pages_;
};

}  // namespace lumaro
