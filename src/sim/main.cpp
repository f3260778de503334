// quelro-radio-sim: a simulated Quelro radio on a pseudo-terminal (or a given
// serial device), for tests, benchmarks and demonstrations.
//
// Prints the path of the pseudo-terminal as its first line on stdout, then a
// line "end" each time a session ends with End (after saving the memory when
// --save is given). With --pace every byte costs its wire time at 9600 baud
// (10 bit times) in both directions: what the PC sends is taken in no faster
// than the wire would carry it, and replies go out byte by byte at that rate.
//
// The line can be made less than ideal: --echo sends every byte received
// straight back (a one-wire cable), --stale leaves bytes waiting on the line
// for the program to find when it opens it, and --vanish-after=N makes the
// device go away after reply N, as an unplugged adapter does, and come back
// on a new pseudo-terminal: the simulator prints "vanished" and the new path,
// and --by-id keeps a symbolic link to the current line (as udev keeps one
// under /dev/serial/by-id).
//
// What the program sends outside the dialogue (a wrong length byte, a block
// out of the read or write plan, a stray byte) is logged on stderr as
// "quelro-radio-sim: deviation: ..." when it happens; the simulator then ends
// with status 3 when it is told to stop (SIGTERM or SIGINT), 0 otherwise.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <iostream>
#include <poll.h>
#include <signal.h>
#include <string>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

#include "codes/conversions.h"
#include "files/data_file.h"
#include "image/memory_image.h"
#include "sim/radio_swap.h"
#include "sim/sim_radio.h"

namespace {

using quelro::sim::Options;
using quelro::sim::SimRadio;
using Clock = std::chrono::steady_clock;
using Nanos = std::chrono::nanoseconds;

constexpr int kExitUsage = 1;
constexpr int kExitFailure = 2;
constexpr int kExitDeviation = 3;

volatile sig_atomic_t stopRequested = 0;
extern "C" void OnStop(int) {
    stopRequested = 1;
}

// A byte at 9600 baud: start bit, 8 data bits, stop bit.
constexpr Nanos kByteTime{10'000'000'000LL / 9600};

struct Line {
    int fd = -1;
    int keepOpen = -1; // our own handle on the terminal side of a pty
};

bool MakeRaw(int fd) {
    termios t{};
    if (::tcgetattr(fd, &t) != 0) return false;
    ::cfmakeraw(&t);
    ::cfsetispeed(&t, B9600);
    ::cfsetospeed(&t, B9600);
    return ::tcsetattr(fd, TCSANOW, &t) == 0;
}

// A new pseudo-terminal; prints nothing. The sim keeps the terminal side open
// itself, so that a client closing it does not hang up the line.
bool OpenPty(Line& line, std::string& path) {
    line.fd = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (line.fd < 0 || ::grantpt(line.fd) != 0 || ::unlockpt(line.fd) != 0) return false;
    path = ::ptsname(line.fd);
    line.keepOpen = ::open(path.c_str(), O_RDWR | O_NOCTTY);
    return line.keepOpen >= 0 && MakeRaw(line.keepOpen);
}

bool OpenDevice(Line& line, const std::string& path) {
    line.fd = ::open(path.c_str(), O_RDWR | O_NOCTTY);
    return line.fd >= 0 && MakeRaw(line.fd);
}

void HangUp(Line& line) {
    if (line.keepOpen >= 0) ::close(line.keepOpen);
    if (line.fd >= 0) ::close(line.fd);
    line = {};
}

struct Timed {
    Clock::time_point due;
    char byte;
    bool breakBefore = false;
    bool breakAfter = false;
    bool hangUpAfter = false;
    bool vanishAfter = false;
};

// Points `link` at `target`, replacing what was there in one step.
bool PointLink(const std::string& link, const std::string& target) {
    const std::string temporary = link + ".new";
    ::unlink(temporary.c_str());
    return ::symlink(target.c_str(), temporary.c_str()) == 0 &&
           ::rename(temporary.c_str(), link.c_str()) == 0;
}

bool WriteAllBytes(int fd, const std::string& bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno != EINTR && errno != EAGAIN) return false;
        if (n > 0) done += static_cast<std::size_t>(n);
    }
    return true;
}

// A break on the line. A pseudo-terminal cannot carry one: there the NUL
// byte that a break leaves on a line read without marking goes out instead.
void SendBreak(const Line& line) {
    if (line.keepOpen >= 0 || ::tcsendbreak(line.fd, 0) != 0) {
        const char nul = '\0';
        while (::write(line.fd, &nul, 1) < 0 && errno == EINTR) {
        }
    }
}

int ParseNumber(const QString& text, bool* ok) {
    return text.startsWith("0x", Qt::CaseInsensitive) ? text.mid(2).toInt(ok, 16)
                                                      : text.toInt(ok, 10);
}

// "name=N" faults and the plain ones.
bool ApplyFault(const QString& fault, Options& options) {
    quelro::sim::Faults& f = options.faults;
    const QString name = fault.section('=', 0, 0);
    bool ok = true;
    const int n = fault.contains('=') ? ParseNumber(fault.section('=', 1), &ok) : 0;
    if (!ok || n < 0) return false;
    if (name == "silent")
        f.silent = true;
    else if (name == "wrong-model")
        options.model = "VN480";
    else if (name == "short-identity")
        f.identityLength = 7;
    else if (name == "long-identity")
        f.identityLength = 9;
    else if (name == "stray-after" && n > 0)
        f.strayAfterReply = n;
    else if (name == "wrong-address" && n > 0)
        f.wrongAddressRead = n;
    else if (name == "stall-after" && n > 0)
        f.stallAfterBlock = n;
    else if (name == "break-before" && n > 0)
        f.breakBeforeReply = n;
    else if (name == "hang-up-after" && n > 0)
        f.hangUpAfterReply = n;
    else if (name == "lose-write" && n > 0)
        f.loseWrite = n;
    else if (name == "nak-write" && n > 0)
        f.nakWrite = n;
    else if (name == "lose-reply" && n > 0)
        f.loseReply = n;
    else if (name == "break-after" && n > 0)
        f.breakAfterReply = n;
    else
        return false;
    return true;
}

// Hex digits, spaces allowed between bytes: "FF 00 3C".
bool ParseHex(const QString& text, std::string& bytes) {
    const QString digits = QString(text).remove(' ');
    if (digits.size() % 2 != 0) return false;
    for (qsizetype i = 0; i < digits.size(); i += 2) {
        bool ok = false;
        const int value = digits.mid(i, 2).toInt(&ok, 16);
        if (!ok) return false;
        bytes += static_cast<char>(value);
    }
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("quelro-radio-sim");
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "A simulated Quelro radio for quelro-cli and Quelro Programmer.");
    parser.addHelpOption();
    const QCommandLineOption device(
        "device", "Serve this serial device instead of a new pseudo-terminal.", "path");
    const QCommandLineOption load("load", "Preload the memory from a .DAT file (else all FF).",
                                  "file");
    const QCommandLineOption save("save", "Save the memory as a .DAT file at every End.", "file");
    const QCommandLineOption model(
        "model", "Model word of the identity (VN481, VN482, or any other 5 characters).", "word",
        "VN481");
    const QCommandLineOption band(
        "band-byte", "Identity byte 6, the band (default 0x21: 400-500MHz).", "byte", "0x21");
    const QCommandLineOption pace("pace", "Take and send every byte at its 9600-baud wire time.");
    const QCommandLineOption latency("latency", "Wait this long before each reply.", "ms", "0");
    const QCommandLineOption fault(
        "fault",
        "A fault, repeatable: silent, wrong-model, short-identity (7 bytes), long-identity "
        "(9 bytes), stray-after=N (an extra byte after reply N), wrong-address=N (read reply N), "
        "stall-after=N (block N), break-before=N (reply N), break-after=N (after reply N a break, "
        "then silence; a pseudo-terminal, which cannot carry a break, gets the NUL a break "
        "leaves), hang-up-after=N (reply N), lose-write=N (write block N is acknowledged but not "
        "stored), nak-write=N (write block N is answered 15 and not stored), lose-reply=N "
        "(reply N is lost on the line). Replies count from 1 (the 06 to PROGRAM) in each "
        "session.",
        "fault");
    const QCommandLineOption echo("echo",
                                  "Send every byte received straight back, before any answer.");
    const QCommandLineOption noise("noise-before-first",
                                   "Send these bytes before the first 06 (hex, e.g. FF00).", "hex");
    const QCommandLineOption stale(
        "stale", "Leave these bytes (hex) waiting on the line before the program opens it.", "hex");
    const QCommandLineOption ignoreEntries(
        "ignore-first-entries", "Answer only the entry frame after the first N.", "N", "0");
    const QCommandLineOption vanish(
        "vanish-after",
        "Go away after reply N, as an unplugged adapter does, and come back on a new "
        "pseudo-terminal (prints \"vanished\" and its path).",
        "N", "0");
    const QCommandLineOption byId("by-id", "Keep a symbolic link here to the current line.",
                                  "path");
    const QCommandLineOption verbose("verbose", "Log every byte on stderr.");
    const QCommandLineOption radios(
        "radios",
        "Serve N radios one after another: after the End of a write the radio stays --stay "
        "seconds, is off (silent) --off seconds, then a fresh radio (all FF, or the next --load "
        "file) answers. Prints \"off\" and \"radio N\" as it goes.",
        "N", "1");
    const QCommandLineOption stay("stay", "With --radios: seconds a written radio stays.", "s",
                                  "1");
    const QCommandLineOption offFor("off", "With --radios: seconds between two radios.", "s", "2");
    const QCommandLineOption saveEach(
        "save-each", "With --radios: save each radio's memory at every End; {n} is its number.",
        "pattern");
    parser.addOptions({device, load, save, model, band, pace, latency, fault, echo, noise, stale,
                       ignoreEntries, vanish, byId, verbose, radios, stay, offFor, saveEach});
    parser.process(app);

    Options options;
    options.model = parser.value(model).toStdString();
    bool ok = false;
    const int bandByte = ParseNumber(parser.value(band), &ok);
    if (!ok || bandByte < 0 || bandByte > 255) {
        std::cerr << "quelro-radio-sim: --band-byte takes 0..255\n";
        return kExitUsage;
    }
    options.bandByte = static_cast<unsigned char>(bandByte);
    const int latencyMs = parser.value(latency).toInt(&ok);
    if (!ok || latencyMs < 0) {
        std::cerr << "quelro-radio-sim: --latency takes milliseconds\n";
        return kExitUsage;
    }
    for (const QString& f : parser.values(fault))
        if (!ApplyFault(f, options)) {
            std::cerr << "quelro-radio-sim: unknown fault " << f.toStdString() << "\n";
            return kExitUsage;
        }
    std::string staleBytes;
    if (!ParseHex(parser.value(noise), options.faults.noiseBeforeFirst) ||
        !ParseHex(parser.value(stale), staleBytes)) {
        std::cerr << "quelro-radio-sim: --noise-before-first and --stale take hex bytes\n";
        return kExitUsage;
    }
    options.faults.ignoreEntries = parser.value(ignoreEntries).toInt(&ok);
    if (!ok || options.faults.ignoreEntries < 0) {
        std::cerr << "quelro-radio-sim: --ignore-first-entries takes a count\n";
        return kExitUsage;
    }
    options.faults.vanishAfterReply = parser.value(vanish).toInt(&ok);
    if (!ok || options.faults.vanishAfterReply < 0) {
        std::cerr << "quelro-radio-sim: --vanish-after takes a reply number\n";
        return kExitUsage;
    }
    const bool echoing = parser.isSet(echo);
    const std::string byIdPath = parser.value(byId).toStdString();

    const int radioCount = parser.value(radios).toInt(&ok);
    const int staySeconds = ok ? parser.value(stay).toInt(&ok) : 0;
    const int offSeconds = ok ? parser.value(offFor).toInt(&ok) : 0;
    if (!ok || radioCount < 1 || staySeconds < 0 || offSeconds < 0) {
        std::cerr << "quelro-radio-sim: --radios takes 1 or more, --stay and --off seconds\n";
        return kExitUsage;
    }
    quelro::sim::RadioSwap swap(radioCount, std::chrono::seconds(staySeconds),
                                std::chrono::seconds(offSeconds));
    // The --load files in turn, one per radio; radios past the last are erased.
    const QStringList loads = parser.values(load);
    const auto loadRadio = [&](SimRadio& fresh, int number) {
        const auto index = static_cast<qsizetype>(number - 1);
        if (index >= loads.size()) return true;
        const quelro::DataFileRead file = quelro::ReadDataFile(loads[index].toStdString());
        if (file.status != quelro::DataFileRead::Ok) {
            std::cerr << "quelro-radio-sim: cannot load " << loads[index].toStdString()
                      << (file.status == quelro::DataFileRead::WrongType ? ": not a data file"
                                                                         : ": " + file.error)
                      << "\n";
            return false;
        }
        fresh.Load(quelro::BytesFromHex(file.imageHex));
        return true;
    };
    SimRadio radio(options);
    if (!loadRadio(radio, 1)) return kExitFailure;

    Line line;
    std::string path = parser.value(device).toStdString();
    if (parser.isSet(device) ? !OpenDevice(line, path) : !OpenPty(line, path)) {
        std::cerr << "quelro-radio-sim: cannot open " << (path.empty() ? "a pseudo-terminal" : path)
                  << ": " << std::strerror(errno) << "\n";
        return kExitFailure;
    }
    if (!byIdPath.empty() && !PointLink(byIdPath, path)) {
        std::cerr << "quelro-radio-sim: cannot link " << byIdPath << ": " << std::strerror(errno)
                  << "\n";
        return kExitFailure;
    }
    if (!WriteAllBytes(line.fd, staleBytes)) {
        std::cerr << "quelro-radio-sim: cannot write to " << path << "\n";
        return kExitFailure;
    }
    std::cout << path << std::endl;

    const bool paced = parser.isSet(pace);
    // Wake-ups on time to the microsecond: the kernel's default slack of
    // 50 us per sleep would add up over the hundred turns of a dialogue.
    if (paced) ::prctl(PR_SET_TIMERSLACK, 1UL);
    const bool log = parser.isSet(verbose);
    const Nanos replyLatency = std::chrono::milliseconds(latencyMs);
    const std::string savePath = parser.value(save).toStdString();
    const QString saveEachPattern = parser.value(saveEach);

    const auto saveTo = [&](const std::string& path) {
        if (path.empty()) return;
        const auto written = quelro::WriteDataFile(path, quelro::HexFromBytes(radio.Memory()));
        if (!written.ok)
            std::cerr << "quelro-radio-sim: cannot save " << path << ": " << written.error << "\n";
    };
    const auto saveMemory = [&] {
        saveTo(savePath);
        if (!saveEachPattern.isEmpty())
            saveTo(QString(saveEachPattern)
                       .replace("{n}", QString::number(swap.Current()))
                       .toStdString());
    };
    std::size_t deviationsLogged = 0;
    bool earlierDeviation = false; // of a radio swapped out
    const auto exitStatus = [&] {
        return radio.Deviations().empty() && !earlierDeviation ? 0 : kExitDeviation;
    };

    // SIGTERM and SIGINT are let through only while waiting, so that a stop
    // is seen at the next wait and never lost between a check and a wait.
    struct sigaction stop {};
    stop.sa_handler = OnStop;
    ::sigaction(SIGTERM, &stop, nullptr);
    ::sigaction(SIGINT, &stop, nullptr);
    sigset_t blocked, waiting;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGTERM);
    sigaddset(&blocked, SIGINT);
    ::sigprocmask(SIG_BLOCK, &blocked, &waiting);
    sigdelset(&waiting, SIGTERM);
    sigdelset(&waiting, SIGINT);

    std::deque<Timed> incoming; // received, taken in when due
    std::deque<Timed> outgoing; // to send, each when due
    Clock::time_point lastIn{};
    Clock::time_point lastOut{};

    for (;;) {
        Clock::time_point now = Clock::now();
        switch (swap.Advance(now)) {
        case quelro::sim::RadioSwap::Change::WentOff:
            incoming.clear();
            outgoing.clear();
            std::cout << "off" << std::endl;
            break;
        case quelro::sim::RadioSwap::Change::FreshRadio:
            earlierDeviation = earlierDeviation || !radio.Deviations().empty();
            deviationsLogged = 0;
            radio = SimRadio(options);
            if (!loadRadio(radio, swap.Current())) return kExitFailure;
            std::cout << "radio " << swap.Current() << std::endl;
            break;
        case quelro::sim::RadioSwap::Change::None:
            break;
        }
        while (!incoming.empty() && incoming.front().due <= now) {
            const Timed in = incoming.front();
            incoming.pop_front();
            if (log) std::fprintf(stderr, "> %02X\n", static_cast<unsigned char>(in.byte));
            if (echoing) {
                // On the same wire: no time of its own.
                lastOut = std::max(in.due, lastOut);
                outgoing.push_back({lastOut, in.byte});
            }
            quelro::sim::Step step = radio.Receive(in.byte);
            for (; deviationsLogged < radio.Deviations().size(); ++deviationsLogged)
                std::cerr << "quelro-radio-sim: deviation: " << radio.Deviations()[deviationsLogged]
                          << std::endl;
            if (step.reply) swap.OnReply();
            if (step.ended) {
                swap.OnEnd(step.wrote, in.due);
                saveMemory();
                std::cout << "end" << std::endl;
            }
            if (!step.reply) continue;
            const std::string& bytes = step.reply->bytes;
            Clock::time_point at = std::max(in.due + replyLatency, lastOut);
            for (std::size_t i = 0; i < bytes.size(); ++i) {
                if (paced) at += kByteTime;
                const bool last = i + 1 == bytes.size();
                outgoing.push_back({at, bytes[i], i == 0 && step.reply->breakBefore,
                                    last && step.reply->breakAfter, last && step.reply->hangUpAfter,
                                    last && step.reply->vanishAfter});
            }
            lastOut = at;
        }

        // Everything due goes out in one write.
        std::string burst;
        bool hangUp = false;
        bool breakAfter = false;
        bool vanishing = false;
        while (!outgoing.empty() && outgoing.front().due <= now && !hangUp && !breakAfter &&
               !vanishing) {
            const Timed out = outgoing.front();
            if (out.breakBefore && !burst.empty()) break;
            outgoing.pop_front();
            if (out.breakBefore) SendBreak(line);
            burst += out.byte;
            hangUp = out.hangUpAfter;
            breakAfter = out.breakAfter;
            vanishing = out.vanishAfter;
        }
        // A pseudo-terminal carries no break: the NUL a break leaves goes out
        // in the reply's own write, so the program always meets both together.
        if (breakAfter && line.keepOpen >= 0) {
            burst += '\0';
            breakAfter = false;
        }
        WriteAllBytes(line.fd, burst);
        if (breakAfter) SendBreak(line);
        if (log)
            for (char c : burst) std::fprintf(stderr, "< %02X\n", static_cast<unsigned char>(c));
        if (hangUp) {
            HangUp(line);
            saveMemory();
            std::cout << "hung up" << std::endl;
            return exitStatus();
        }
        if (vanishing) {
            // Let the last reply reach the program before the line goes.
            ::tcdrain(line.fd);
            HangUp(line);
            saveMemory();
            incoming.clear();
            outgoing.clear();
            radio.Abandon();
            if (!OpenPty(line, path) || (!byIdPath.empty() && !PointLink(byIdPath, path))) {
                std::cerr << "quelro-radio-sim: cannot come back: " << std::strerror(errno) << "\n";
                return kExitFailure;
            }
            std::cout << "vanished" << std::endl << path << std::endl;
            continue;
        }

        Clock::time_point next = swap.NextChange();
        if (!incoming.empty()) next = incoming.front().due;
        if (!outgoing.empty()) next = std::min(next, outgoing.front().due);
        timespec timeout{};
        timespec* wait = nullptr;
        if (next != Clock::time_point::max()) {
            const auto left = std::max<Nanos>(Nanos(0), next - Clock::now());
            timeout.tv_sec = static_cast<time_t>(left.count() / 1'000'000'000);
            timeout.tv_nsec = static_cast<long>(left.count() % 1'000'000'000);
            wait = &timeout;
        }
        pollfd p{line.fd, POLLIN, 0};
        const int ready = ::ppoll(&p, 1, wait, &waiting);
        if (stopRequested) return exitStatus();
        if (ready < 0 && errno != EINTR) return kExitFailure;
        if (ready <= 0) continue;
        if (p.revents & (POLLHUP | POLLERR | POLLNVAL) && !(p.revents & POLLIN)) {
            std::cerr << "quelro-radio-sim: the line was closed\n";
            return kExitFailure;
        }
        if (!(p.revents & POLLIN)) continue;
        char buffer[512];
        const ssize_t n = ::read(line.fd, buffer, sizeof buffer);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n <= 0) {
            std::cerr << "quelro-radio-sim: the line was closed\n";
            return kExitFailure;
        }
        now = Clock::now();
        // A radio switched off hears nothing.
        if (swap.Off()) continue;
        for (ssize_t i = 0; i < n; ++i) {
            Clock::time_point due = now;
            if (paced) due = std::max(now, lastIn) + kByteTime;
            lastIn = due;
            incoming.push_back({due, buffer[i]});
        }
    }
}
