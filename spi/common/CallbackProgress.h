#pragma once
// The progress callback a host hands to GetFile, behind ProgressReport.
#include "plugins/SusiePlugin.h"
#include "spi/common/ProgressReport.h"

class CallbackProgress : public ProgressReport {
public:
    // A null callback lets every unpacking go on.
    CallbackProgress(SpiProgressCallback callback, LONG_PTR data) : callback_(callback), data_(data) {}
    // Calls the host with both numbers halved together until the total fits an int, so that
    // entries over 2 GB still report a growing share of a steady total. True when the
    // callback returned 0 (go on).
    bool Continue(uint64_t done, uint64_t total) override;

private:
    SpiProgressCallback callback_;
    LONG_PTR data_;
};
