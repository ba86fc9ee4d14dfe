#pragma once

// While it lives, what the image libraries write to standard error by
// themselves is caught instead of shown. Qt's PNG reader leaves libpng's
// default error function in place, which prints "libpng error: ..." straight
// to the stream, bypassing Qt's message handler, so a damaged PNG (on its own
// or inside an icon) would put a line of its own before ours. The caught
// libpng lines are kept (without their prefix) for the caller to fold into
// its own message; anything else caught is written to standard error again
// when the scope ends. One scope at a time: a scope opened while another
// is active (on another thread) catches nothing.

#include <QStringList>

class DecoderMessages
{
public:
    DecoderMessages();
    ~DecoderMessages();
    DecoderMessages(const DecoderMessages &) = delete;
    DecoderMessages &operator=(const DecoderMessages &) = delete;

    // Ends the catching early and returns the libpng lines caught so far.
    QStringList take();

private:
    void finish();

    int m_savedStderr = -1;
    void *m_capture = nullptr; // the FILE the stream went to
    bool m_active = false;
    QStringList m_lines;
};
