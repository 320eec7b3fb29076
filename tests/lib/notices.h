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
    NoticeCapture() { clear(), setnote(capture); }
    ~NoticeCapture() { setnote(nullptr); }
    const std::vector<Notice> &all() const { return list(); }
    void clear() { list().clear(); }
    std::string joined() const // "title/text;" for each notice
    {
        std::string s;
        for (const Notice &n : list())
            s += n.title + "/" + n.text + ";";
        return s;
    }

  private:
    static std::vector<Notice> &list()
    {
        static std::vector<Notice> captured;
        return captured;
    }
    static void capture(const char *title, const char *text) { list().push_back({title, text}); }
};
