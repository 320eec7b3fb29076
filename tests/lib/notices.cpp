#include "notices.h"

static std::vector<Notice> Captured;

static void capture(const char *title, const char *text)
{
    Captured.push_back({title, text});
}

NoticeCapture::NoticeCapture()
{
    Captured.clear();
    setnote(capture);
}

NoticeCapture::~NoticeCapture()
{
    setnote(nullptr);
}

const std::vector<Notice> &NoticeCapture::all() const
{
    return Captured;
}

void NoticeCapture::clear()
{
    Captured.clear();
}
