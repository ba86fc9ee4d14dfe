#pragma once

// The chat window the user pointed at, instead of the chat client's own
// titles: what is remembered of it, how it is kept across starts, and how
// it is found again.
//
// Contract:
// - A choice is the window's title and class, as the window system reads
//   them (bytes, UTF-8 not checked), each cut to kMaxLabelBytes, and the
//   point clicked, in the window's client coordinates (0 to kMaxCoordinate).
// - It is kept in the settings file as the section [SendWindow]: the title
//   and class percent-encoded, so that any byte (a line break, invalid
//   UTF-8) is kept as read, and the point as two decimal numbers. Writing
//   goes through SaveFile (a temporary file renamed into place) and keeps
//   every other line of the file as it stands. A section that is missing a
//   key, holds a number out of range or a value that is no percent-encoding
//   is damaged, and counts as no choice; so does a file that is not a
//   regular file or is larger than kMaxSettingsBytes, which is then never
//   written over.
// - Found again among the open windows (locate): the first with the same
//   class and title; else, when exactly one window has that class (not
//   empty), that one, reported as found by its class alone; else none.

#include "platform/windowsystem.h"

#include <QString>

#include <optional>
#include <string>
#include <vector>

struct ChosenWindow
{
    std::string title;
    std::string windowClass;
    int x = 0;
    int y = 0;

    bool operator==(const ChosenWindow &) const = default;
};

namespace ChosenWindows {

constexpr std::size_t kMaxLabelBytes = 4096;
constexpr int kMaxCoordinate = 32767;
constexpr qint64 kMaxSettingsBytes = 256 * 1024;

// A title or class as it is kept: its first kMaxLabelBytes bytes.
std::string cut(const std::string &label);

// The choice kept in the settings file at `path`; nothing when there is
// none, or it is damaged.
std::optional<ChosenWindow> load(const QString &path);

// Keeps `chosen` in the settings file (no value: takes the section out).
// False when the file could not be written, or is no file this may replace.
bool save(const QString &path, const std::optional<ChosenWindow> &chosen);

struct Located
{
    platform::WindowId window = 0;
    std::string title; // the title of the window taken
    bool byClassAlone = false;
};
std::optional<Located> locate(const ChosenWindow &chosen, const std::vector<platform::WindowInfo> &windows);

} // namespace ChosenWindows

// The choice of this run: what the user chose (or what the settings file
// held at start), and the window it was found as, held until it closes.
class ChosenTarget
{
public:
    explicit ChosenTarget(QString settingsPath = QString());

    // Reads the settings file: a missing or damaged entry leaves nothing chosen.
    void load();
    const std::optional<ChosenWindow> &chosen() const { return m_chosen; }
    bool isChosen() const { return m_chosen.has_value(); }

    // Remembers the window and the point, holds the window and keeps the
    // choice in the settings file; false when that could not be written
    // (the choice still holds for this run).
    bool choose(const platform::WindowInfo &window, int x, int y);
    // Back to the chat client's own titles; false as for choose().
    bool clear();

    struct Found
    {
        platform::WindowId window = 0;
        // Set when the window was taken by its class alone: the title used.
        std::optional<std::string> otherTitle;
    };
    // The window to send to: the one held, while it stays open; when none
    // is held, the one locate() finds, which is held from then on (a title
    // found by the class alone becomes the choice's title). Nothing when
    // nothing is chosen, when the held window has closed (it is let go:
    // the next call looks again) or when locate() finds none.
    std::optional<Found> find(platform::WindowSystem &ws);

private:
    QString m_path;
    std::optional<ChosenWindow> m_chosen;
    platform::WindowId m_held = 0;
};
