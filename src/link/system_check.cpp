// The findings of the serial port check: the adapters known, and the texts.
#include "link/system_check.h"

#include "i18n/captions_link.h"

namespace quelro {

const std::vector<KnownAdapter>& KnownAdapters() {
    static const std::vector<KnownAdapter> adapters{
        {"1a86", "7523", "CH340", "ch341"},     {"1a86", "5523", "CH341", "ch341"},
        {"067b", "2303", "PL2303", "pl2303"},   {"067b", "23a3", "PL2303GC", "pl2303"},
        {"10c4", "ea60", "CP210x", "cp210x"},   {"0403", "6001", "FT232R", "ftdi_sio"},
        {"0403", "6010", "FT2232", "ftdi_sio"}, {"0403", "6014", "FT232H", "ftdi_sio"},
        {"0403", "6015", "FT-X", "ftdi_sio"},
    };
    return adapters;
}

bool Finding::Problem() const {
    return kind != Kind::DeviceReady && kind != Kind::ModemManagerRuled && kind != Kind::AllWell;
}

std::string FindingText(const Finding& f, int languageMode) {
    namespace t = linktext;
    const std::string pid = std::to_string(f.pid);
    const auto fill = [&](const Caption& caption, std::initializer_list<std::string_view> values) {
        return LocalizeFilled(caption, languageMode, values);
    };
    switch (f.kind) {
    case Finding::Kind::DeviceReady: {
        const std::string identity = IdentityText(f.identity, languageMode);
        return fill(t::kDeviceReady, {f.subject, identity.empty() ? f.subject : identity});
    }
    case Finding::Kind::DeviceMissing:
        return fill(t::kDeviceMissing, {f.subject});
    case Finding::Kind::DeviceNotInGroup:
        return fill(t::kNotInGroup, {f.subject, f.group});
    case Finding::Kind::DeviceGroupNotInSession:
        return fill(t::kGroupNotInSession, {f.subject, f.group});
    case Finding::Kind::DeviceNoPermission:
        return fill(t::kNoPermission, {f.subject});
    case Finding::Kind::DeviceHeld:
        if (f.pid <= 0) return fill(t::kPortBusy, {f.subject});
        return fill(t::kDeviceHeld, {f.subject, pid, f.detail});
    case Finding::Kind::AdapterTakenByBrltty:
        return fill(t::kAdapterTakenByBrltty,
                    {f.subject, f.detail,
                     f.pid > 0 ? fill(t::kBrlttyProcess, {pid}) : fill(t::kBrlttyRule, {f.other})});
    case Finding::Kind::AdapterHeldByDriver:
        return fill(t::kAdapterHeldByDriver, {f.subject, f.detail, f.other});
    case Finding::Kind::AdapterWithoutDriver:
#ifdef _WIN32
        return fill(t::kAdapterNeedsDriver, {f.subject, f.detail, f.subject});
#else
        return fill(t::kAdapterWithoutDriver, {f.subject, f.detail, f.other});
#endif
    case Finding::Kind::ModemManagerRuled:
        return fill(t::kModemManagerRuled, {pid});
    case Finding::Kind::ModemManagerUnruled:
        return fill(t::kModemManagerUnruled, {pid});
    case Finding::Kind::LockHeld:
        return fill(t::kLockHeld, {f.subject, pid, f.detail});
    case Finding::Kind::LockStale:
        return fill(t::kLockStale, {f.subject, pid});
    case Finding::Kind::NoAdapter:
        return Localize(t::kNoAdapter, languageMode);
    case Finding::Kind::AllWell:
        break;
    }
    return Localize(t::kAllWell, languageMode);
}

} // namespace quelro
