#!/bin/sh
# Writes the data-file fuzzer's seed files with our own encoder: quelro-cli
# new and import of a few JSON forms, into its corpus.
# Usage: fuzz/make_seeds.sh path/to/quelro-cli
set -e
CLI=${1:?usage: $0 path/to/quelro-cli}
SEEDS=$(dirname "$0")/corpus/fuzz_data_file
mkdir -p "$SEEDS"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

"$CLI" --quiet new -o "$SEEDS/startup.DAT"
"$CLI" --quiet new --band 136-174MHz -o "$SEEDS/band_136.DAT"

# Every channel used, each kind of tone, the lists both ways, edge settings.
cat > "$WORK/full.json" <<'JSON'
{"format": "quelro-dat", "version": 1, "band": "600-720MHz",
 "channels": [
  {"rx": "600.00000", "tx": "600.00000", "rx_tone": "off", "tx_tone": "67.0", "power": "low", "busy_lock": "off", "bandwidth": "narrow", "scan": false},
  {"rx": "610.01250", "tx": "", "rx_tone": "254.1", "tx_tone": "D023N", "power": "high", "busy_lock": "carrier", "bandwidth": "wide", "scan": true},
  {"rx": "620.50000", "tx": "621.50000", "rx_tone": "D754I", "tx_tone": "100.0", "power": "high", "busy_lock": "off", "bandwidth": "narrow", "scan": true},
  {"rx": "630.00625", "rx_tone": "88.5", "tx_tone": "D000N"},
  {"rx": "640.00000", "rx_tone": "D777I", "tx_tone": "off", "scan": false},
  {"rx": "650.12500", "power": "high"}, {"rx": "660.00500"}, {"rx": "670.99375"},
  {"rx": "680.00000"}, {"rx": "690.00000"}, {"rx": "700.00000"}, {"rx": "705.00000"},
  {"rx": "710.00000"}, {"rx": "715.00000"}, {"rx": "719.99500"}, {"rx": "719.99375"}],
 "settings": {"voice_prompt": 2, "tx_timeout": 39, "timeout_warning": 10, "squelch": 9,
  "battery_save": 0, "beep": 0, "ptt_id_mode": 2, "vox_enable": 0, "vox_gain": 10,
  "vox_delay": 5, "vox_tone": 0, "duplicate": 0, "priority_mode": 2, "priority_channel": 15,
  "retrace_time_a": 91, "retrace_time_b": 0, "return_channel": 3,
  "scan_rx_resume_delay": "300", "scan_tx_resume_delay": "15", "cancel_operation": 0,
  "vox_rx_inhibit": 0, "id_code": "0123456789", "ptt_start_code": "*#ABCD0123456789",
  "ptt_end_code": "", "dtmf_rate": 3, "first_digit_time": 3, "first_digit_delay": 1000,
  "star_hash_tone": 3, "d_key_setting": 16, "dtmf_side_tone": 0, "group_call_code": 9,
  "auto_reset_timer": 15,
  "auto_dial_memories": ["1020", "", "*#", "ABCD", "9876543210000000", "5", "6", "7"],
  "side_keys": [11, 1], "embedded_info": ["Quelro \u00e9\u0001", "12345678901234567890123456789012"],
  "test_frequencies": [{"rx": "462.56250", "tx": "462.56250"}, {"rx": "145.00000", "tx": ""},
   {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {"rx": "", "tx": "999.99999"}],
  "tx_power_high": 255, "tx_power_low": 0}}
JSON
"$CLI" --quiet import "$WORK/full.json" -o "$SEEDS/full.DAT"

# A few channels in a 136-174 MHz radio with no time-out selected.
cat > "$WORK/sparse.json" <<'JSON'
{"format": "quelro-dat", "version": 1, "band": "136-174MHz",
 "channels": [null, {"rx": "145.50000", "rx_tone": "D023I"}, null, null, null, null, null,
  {"rx": "136.00000", "tx": "173.99500"}, {"rx": "155.00625"}, null, null, null, null, null,
  null, {"rx": "173.99375", "tx_tone": "203.5"}],
 "settings": {"tx_timeout": null, "priority_mode": 1, "priority_channel": 1,
  "first_digit_delay": 100, "group_call_code": 1}}
JSON
"$CLI" --quiet import "$WORK/sparse.json" -o "$SEEDS/sparse.DAT"
