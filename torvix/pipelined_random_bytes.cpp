#include "torvix/pipelined_random_bytes.h"

#include <algorithm>
#include <system_error>

namespace torvix {

PipelinedRandomBytes::PipelinedRandomBytes(RandomSource& random) : random_(random) {
    for (auto& slot : slots_) {
        slot = std::make_unique<WriteBuffer>(kSlotSize);
        if (!slot->ok()) return;
    }
    try {
        worker_ = std::thread(&PipelinedRandomBytes::Generate, this);
    } catch (const std::system_error&) {
        // No thread to be had: ok() stays false.
    }
}

PipelinedRandomBytes::~PipelinedRandomBytes() {
    if (!worker_.joinable()) return;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    worker_.join();
}

void PipelinedRandomBytes::Generate() {
    for (int filling = 0;; filling = (filling + 1) % kSlots) {
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return stopping_ || ready_ + int{held_} < kSlots; });
            if (stopping_) return;
        }
        // The slot is free: neither ready nor held, so the writer keeps off it.
        bool filled = random_.Fill(slots_[filling]->data(), slots_[filling]->size());
        {
            std::lock_guard lock(mutex_);
            if (filled) ++ready_;
            failed_ = !filled;
        }
        changed_.notify_all();
        if (!filled) return;
    }
}

bool PipelinedRandomBytes::TakeNextSlot() {
    std::unique_lock lock(mutex_);
    if (held_) {
        held_ = false;
        reading_ = (reading_ + 1) % kSlots;
        changed_.notify_all();
    }
    changed_.wait(lock, [&] { return ready_ > 0 || failed_; });
    if (ready_ == 0) return false;  // the generator failed before this slot
    --ready_;
    held_ = true;
    offset_ = 0;
    return true;
}

bool PipelinedRandomBytes::Next(std::size_t wanted, const unsigned char** data, std::size_t* size) {
    WriteBuffer& held = *slots_[reading_];
    if ((!held_ || offset_ == held.size()) && !TakeNextSlot()) return false;
    WriteBuffer& slot = *slots_[reading_];
    *data = slot.data() + offset_;
    *size = std::min(wanted, slot.size() - offset_);
    offset_ += *size;
    return true;
}

}  // namespace torvix
