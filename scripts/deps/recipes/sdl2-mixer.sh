SOURCE=libsdl2-mixer
build() {
  # The soundtrack is MP3: dr_mp3 from the source itself decodes it; nothing else is needed.
  run_cmake -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_DEPS_SHARED=OFF -DSDL2MIXER_VENDORED=OFF \
    -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MIDI=OFF -DSDL2MIXER_OPUS=OFF \
    -DSDL2MIXER_VORBIS=OFF -DSDL2MIXER_WAVPACK=OFF -DSDL2MIXER_CMD=OFF \
    -DSDL2MIXER_MP3=ON -DSDL2MIXER_MP3_DRMP3=ON -DSDL2MIXER_MP3_MPG123=OFF
  # Its build writes a pkg-config file only for a shared library; ours is static.
  cat >"$DEPS_PREFIX/lib/pkgconfig/SDL2_mixer.pc" <<PC
prefix=$DEPS_PREFIX
libdir=\${prefix}/lib
includedir=\${prefix}/include

Name: SDL2_mixer
Description: mixer library for SDL2
Version: $(deps_upstream "$(cat "$deps_src/libsdl2-mixer.chosen")" | sed 's/+.*//')
Requires: sdl2
Libs: -L\${libdir} -lSDL2_mixer
Cflags: -I\${includedir}/SDL2
PC
}
