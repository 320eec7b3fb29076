// Captures the runtime's notices for the duration of a test.
#pragma once

#include <string>
#include <vector>

#include "mirl.h"

struct Notice {
    std::string title, text;
};

class NoticeCapture {
  public:
    NoticeCapture();
    ~NoticeCapture();
    const std::vector<Notice> &all() const;
    void clear();
};
