// The one implementation of a platform service that is in force: the real
// one, made at first use, unless a test has put another in its place.
#pragma once

#include <memory>

namespace platform {

template <typename Service>
class ServiceSlot {
public:
    using Maker = std::shared_ptr<Service> (*)();
    explicit ServiceSlot(Maker makeReal) : makeReal_(makeReal) {}

    Service& Get() {
        if (override_) return *override_;
        if (!real_) real_ = makeReal_();
        return *real_;
    }
    // Null goes back to the real one.
    void Override(std::shared_ptr<Service> service) { override_ = std::move(service); }

private:
    Maker makeReal_;
    std::shared_ptr<Service> real_;
    std::shared_ptr<Service> override_;
};

}  // namespace platform
