// metersim: plays the instrument on a pseudo-terminal so the program can be tried without one.
//   metersim --com N [--model NAME] [--demo | --records FILE] [--erase-seconds S]
#include <unistd.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <sstream>

#include "metersim/demo_records.h"
#include "metersim/port_entry.h"
#include "metersim/pty_port.h"
#include "metersim/record_file.h"
#include "metersim/simulator.h"

namespace {

using namespace sq::metersim;

int g_signalPipe[2] = {-1, -1};

void onSignal(int) {
    char c = 1;
    [[maybe_unused]] ssize_t n = ::write(g_signalPipe[1], &c, 1);
}

// SIGINT and SIGTERM end the event loop, so the entry is removed on the way out.
void quitOnSignals(QCoreApplication& app, QSocketNotifier*& notifier) {
    if (pipe(g_signalPipe) != 0) return;
    notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);
}

std::string describe(const LoggedRequest& r) {
    std::ostringstream out;
    char time[32];
    std::snprintf(time, sizeof time, "%10.3f", r.time);
    out << time << "  " << r.name;
    for (const auto& [key, value] : r.fields) out << ' ' << key << '=' << value;
    if (!r.text.empty()) out << " \"" << r.text << '"';
    if (r.outcome != Outcome::Answered) out << "  [" << outcomeName(r.outcome) << ']';
    return out.str();
}

struct Options {
    int com = 0;
    std::string model;
    bool demo = false;
    std::string recordsFile;
    std::string saveDemo;
    double eraseSeconds = 3.0;
    double latency = 0.005;
    double baud = 57600;
    bool quiet = false;
};

bool parseOptions(QCoreApplication& app, Options& o) {
    QCommandLineParser p;
    p.setApplicationDescription(
        "Plays the noise dose meter on a pseudo-terminal that the program opens as COM N.");
    p.addHelpOption();
    p.addOptions({
        {"com", "COM number the program will use (1 to 256).", "N"},
        {"model", "Model name the instrument reports (default VOK-LSR20).", "NAME"},
        {"demo", "Store the demo records (35, 480 and 10,000 points)."},
        {"records", "Store the records of a JSON records file.", "FILE"},
        {"save-demo", "Write the demo records as a records file and exit.", "FILE"},
        {"erase-seconds", "How long clearing the memory takes (default 3).", "S"},
        {"latency", "Seconds before each reply (default 0.005).", "S"},
        {"baud", "Pace replies like a line of this speed; 0 sends them at once (default 57600).", "N"},
        {"quiet", "Do not print the requests."},
    });
    p.process(app);
    o.saveDemo = p.value("save-demo").toStdString();
    if (!o.saveDemo.empty()) return true;
    bool ok = false;
    o.com = p.value("com").toInt(&ok);
    if (!ok || o.com < 1 || o.com > 256) {
        std::cerr << "metersim: --com N with N from 1 to 256 is required\n";
        return false;
    }
    o.model = p.isSet("model") ? p.value("model").toStdString() : "VOK-LSR20";
    o.demo = p.isSet("demo");
    o.recordsFile = p.value("records").toStdString();
    if (o.demo && !o.recordsFile.empty()) {
        std::cerr << "metersim: --demo and --records exclude each other\n";
        return false;
    }
    if (p.isSet("erase-seconds")) o.eraseSeconds = p.value("erase-seconds").toDouble(&ok);
    if (p.isSet("erase-seconds") && (!ok || o.eraseSeconds < 0)) {
        std::cerr << "metersim: --erase-seconds takes a number of seconds\n";
        return false;
    }
    if (p.isSet("latency")) o.latency = p.value("latency").toDouble(&ok);
    if (p.isSet("latency") && (!ok || o.latency < 0)) {
        std::cerr << "metersim: --latency takes a number of seconds\n";
        return false;
    }
    if (p.isSet("baud")) o.baud = p.value("baud").toDouble(&ok);
    if (p.isSet("baud") && (!ok || o.baud < 0)) {
        std::cerr << "metersim: --baud takes a line speed in bits per second\n";
        return false;
    }
    o.quiet = p.isSet("quiet");
    return true;
}

bool loadRecords(const Options& o, Simulator& sim) {
    std::vector<StoredRecord> records;
    if (o.demo) records = demoRecords();
    if (!o.recordsFile.empty()) {
        std::string error;
        if (!loadRecordsFile(o.recordsFile, records, error)) {
            std::cerr << "metersim: " << error << '\n';
            return false;
        }
    }
    for (auto& r : records) {
        if (sim.addRecord(std::move(r)) < 0) {
            std::cerr << "metersim: the memory holds at most 255 records; the rest are left out\n";
            break;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("metersim");
    Options o;
    if (!parseOptions(app, o)) return 2;
    if (!o.saveDemo.empty()) {
        bool saved = saveRecordsFile(o.saveDemo, demoRecords());
        std::cout << (saved ? "metersim: wrote the demo records to " : "metersim: cannot write ")
                  << o.saveDemo << '\n';
        return saved ? 0 : 1;
    }

    Simulator sim;
    sim.setModel(o.model);
    sim.setEraseSeconds(o.eraseSeconds);
    sim.setLatency(o.latency);
    sim.setBaudRate(o.baud);
    if (!loadRecords(o, sim)) return 1;

    PtyPort pty;
    std::string message;
    if (!pty.open(message)) {
        std::cerr << "metersim: " << message << '\n';
        return 1;
    }
    sim.setOutput([&pty](const Bytes& b) { pty.write(b); });
    pty.setOnBytes([&sim](const uint8_t* p, size_t n) { sim.receive(p, n); });
    if (!claimPortEntry(o.com, pty.slavePath(), message)) {
        std::cerr << "metersim: " << message << '\n';
        return 1;
    }
    QSocketNotifier* signalNotifier = nullptr;
    quitOnSignals(app, signalNotifier);

    std::cout << "metersim: COM" << o.com << " is " << pty.slavePath() << " (process " << getpid() << "); "
              << message << "\nmetersim: model \"" << o.model << "\", " << sim.recordCount()
              << " stored record(s); "
              << "stop with Ctrl+C" << std::endl;
    if (!o.quiet) {
        sim.setRequestObserver([](const LoggedRequest& r) { std::cout << describe(r) << std::endl; });
        pty.setOnPeer([](bool open) {
            std::cout << (open ? "metersim: the port was opened" : "metersim: the port was closed")
                      << std::endl;
        });
    }
    int rc = app.exec();
    releasePortEntry(o.com);
    std::cout << "metersim: removed the entry for COM" << o.com << std::endl;
    return rc;
}
