# Helpers for the end-to-end runs of the Windows build under Wine. Sourced after x11.sh, on the
# virtual display: begin_wine makes a Wine prefix in the scratch folder and an ALSA default
# device that discards everything, so no test ever reaches a real sound card.

# Run after begin_run: a fresh prefix, silent ALSA, no Wine debug output, no Mono or Gecko.
begin_wine() {
  export HOME="$work/home"
  mkdir -p "$HOME"
  cat >"$HOME/.asoundrc" <<'ALSA'
pcm.!default { type null }
ctl.!default { type hw card 0 }
ALSA
  export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
  # The programs choose their own SDL drivers on Windows; the Linux runs' choice must not leak in.
  unset SDL_AUDIODRIVER SDL_VIDEODRIVER
  timeout 180 wine wineboot --init >/dev/null 2>&1
  # ALSA only: Wine's PulseAudio driver would look for a sound server.
  timeout 60 wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d alsa /f >/dev/null 2>&1
  timeout 60 wineserver -w
}

end_wine() { wineserver -k 2>/dev/null || true; }
