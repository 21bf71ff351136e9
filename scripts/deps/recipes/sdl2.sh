SOURCE=libsdl2
build() {
  # The player uses the window, its events, the renderer, audio and timers: the input devices,
  # sensors and the rest are left out, which halves the build.
  run_cmake -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_TESTS=OFF \
    -DSDL_JOYSTICK=OFF -DSDL_HAPTIC=OFF -DSDL_HIDAPI=OFF -DSDL_SENSOR=OFF -DSDL_POWER=OFF \
    -DSDL_LOCALE=OFF -DSDL_MISC=OFF
}
