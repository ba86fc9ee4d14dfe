#include "send/chosenwindow.h"

#include "shell/core/regularfile.h"
#include "shell/core/savefile.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QDir>
#include <QFileInfo>

#include <utility>

namespace {

const QByteArray kSection = QByteArrayLiteral("[SendWindow]");

QByteArray withoutCr(const QByteArray &line)
{
    return line.endsWith('\r') ? line.chopped(1) : line;
}

bool isSectionHeader(const QByteArray &line)
{
    const QByteArray t = withoutCr(line).trimmed();
    return t.startsWith('[') && t.endsWith(']');
}

// Only what toPercentEncoding writes: unreserved characters and %XX.
std::optional<std::string> decoded(const QByteArray &value)
{
    const auto hex = [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    };
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '%') {
            if (i + 2 >= value.size() || !hex(value[i + 1]) || !hex(value[i + 2]))
                return std::nullopt;
            i += 2;
        } else if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-'
                     || c == '.' || c == '_' || c == '~')) {
            return std::nullopt;
        }
    }
    const QByteArray bytes = QByteArray::fromPercentEncoding(value);
    if (std::size_t(bytes.size()) > ChosenWindows::kMaxLabelBytes)
        return std::nullopt;
    return bytes.toStdString();
}

std::optional<int> coordinate(const QByteArray &value)
{
    bool ok = false;
    const int n = value.toInt(&ok);
    if (!ok || n < 0 || n > ChosenWindows::kMaxCoordinate || value != QByteArray::number(n))
        return std::nullopt;
    return n;
}

std::optional<ChosenWindow> parse(const QByteArray &file)
{
    std::optional<std::string> title;
    std::optional<std::string> windowClass;
    std::optional<int> x;
    std::optional<int> y;
    bool inSection = false;
    for (const QByteArray &raw : file.split('\n')) {
        const QByteArray line = withoutCr(raw);
        if (isSectionHeader(line)) {
            inSection = line.trimmed() == kSection;
            continue;
        }
        const qsizetype eq = line.indexOf('=');
        if (!inSection || eq < 0)
            continue;
        const QByteArray key = line.left(eq).trimmed();
        const QByteArray value = line.mid(eq + 1).trimmed();
        // A key given twice is as damaged as one missing.
        const auto once = [](auto &slot, auto parsed) {
            if (slot)
                return false;
            slot = std::move(parsed);
            return bool(slot);
        };
        bool good = true;
        if (key == "title")
            good = once(title, decoded(value));
        else if (key == "class")
            good = once(windowClass, decoded(value));
        else if (key == "x")
            good = once(x, coordinate(value));
        else if (key == "y")
            good = once(y, coordinate(value));
        if (!good)
            return std::nullopt;
    }
    if (!title || !windowClass || !x || !y || (title->empty() && windowClass->empty()))
        return std::nullopt;
    return ChosenWindow{*title, *windowClass, *x, *y};
}

} // namespace

namespace ChosenWindows {

std::string cut(const std::string &label)
{
    return label.size() > kMaxLabelBytes ? label.substr(0, kMaxLabelBytes) : label;
}

std::optional<ChosenWindow> load(const QString &path)
{
    QByteArray bytes;
    if (path.isEmpty() || ReadRegularFile(path, kMaxSettingsBytes, &bytes) != ReadOutcome::Done)
        return std::nullopt;
    return parse(bytes);
}

bool save(const QString &path, const std::optional<ChosenWindow> &chosen)
{
    if (path.isEmpty())
        return false;
    QByteArray old;
    const ReadOutcome read = ReadRegularFile(path, kMaxSettingsBytes, &old);
    if (read != ReadOutcome::Done && read != ReadOutcome::Missing)
        return false;
    // Every line of other sections stays as it stands.
    QByteArray kept;
    bool inSection = false;
    const QByteArrayList lines = old.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray &line = lines[i];
        if (isSectionHeader(line))
            inSection = withoutCr(line).trimmed() == kSection;
        if (inSection || (i == lines.size() - 1 && line.isEmpty()))
            continue;
        kept += line + '\n';
    }
    if (chosen) {
        kept += kSection + '\n';
        kept += "title=" + QByteArray::fromStdString(cut(chosen->title)).toPercentEncoding() + '\n';
        kept += "class=" + QByteArray::fromStdString(cut(chosen->windowClass)).toPercentEncoding() + '\n';
        kept += "x=" + QByteArray::number(chosen->x) + '\n';
        kept += "y=" + QByteArray::number(chosen->y) + '\n';
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    return SaveFile::write(path, kept, SaveFile::Special::Refuse);
}

std::optional<Located> locate(const ChosenWindow &chosen, const std::vector<platform::WindowInfo> &windows)
{
    const platform::WindowInfo *sameClass = nullptr;
    int classCount = 0;
    for (const platform::WindowInfo &w : windows) {
        if (cut(w.windowClass) != chosen.windowClass)
            continue;
        if (cut(w.title) == chosen.title)
            return Located{w.window, w.title, false};
        sameClass = &w;
        ++classCount;
    }
    if (classCount == 1 && !chosen.windowClass.empty())
        return Located{sameClass->window, sameClass->title, true};
    return std::nullopt;
}

} // namespace ChosenWindows

ChosenTarget::ChosenTarget(QString settingsPath)
    : m_path(std::move(settingsPath))
{
}

void ChosenTarget::load()
{
    m_chosen = ChosenWindows::load(m_path);
    m_held = 0;
}

bool ChosenTarget::choose(const platform::WindowInfo &window, int x, int y)
{
    m_chosen = ChosenWindow{ChosenWindows::cut(window.title), ChosenWindows::cut(window.windowClass), x, y};
    m_held = window.window;
    return ChosenWindows::save(m_path, m_chosen);
}

bool ChosenTarget::clear()
{
    m_chosen.reset();
    m_held = 0;
    return ChosenWindows::save(m_path, std::nullopt);
}

std::optional<ChosenTarget::Found> ChosenTarget::find(platform::WindowSystem &ws)
{
    if (!m_chosen)
        return std::nullopt;
    if (m_held) {
        // An id the server gave again to another program's window is not ours.
        const auto info = ws.windowInfo(m_held);
        if (info && ChosenWindows::cut(info->windowClass) == m_chosen->windowClass)
            return Found{m_held, std::nullopt};
        m_held = 0;
        return std::nullopt;
    }
    const auto located = ChosenWindows::locate(*m_chosen, ws.topLevelWindows());
    if (!located)
        return std::nullopt;
    m_held = located->window;
    Found found{located->window, std::nullopt};
    if (located->byClassAlone) {
        found.otherTitle = located->title;
        // Told once: from now on this title is the choice.
        m_chosen->title = ChosenWindows::cut(located->title);
        ChosenWindows::save(m_path, m_chosen);
    }
    return found;
}
