# The window's audio player: the core's AudioPlayer port over Qt Multimedia.
# Included from app/CMakeLists.txt; paths are taken from this file's folder.

add_library(pwx_qtaudio STATIC ${CMAKE_CURRENT_LIST_DIR}/QtAudioPlayer.cpp
                               ${CMAKE_CURRENT_LIST_DIR}/QtAudioPlayer.h)
set_target_properties(pwx_qtaudio PROPERTIES AUTOMOC ON)
target_include_directories(pwx_qtaudio PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(pwx_qtaudio PUBLIC pwx_audio Qt6::Multimedia)

if(PWX_BUILD_TESTS)
  # Plays the real error clip, so it needs GStreamer's MP3 parser and decoder (both in
  # gstreamer1.0-plugins-good on Debian 12); no sound card is needed.
  add_executable(pwx_qtaudio_test ${CMAKE_CURRENT_LIST_DIR}/tests/QtAudioPlayerTest.cpp)
  set_target_properties(pwx_qtaudio_test PROPERTIES AUTOMOC ON)
  target_compile_definitions(pwx_qtaudio_test
                             PRIVATE PWX_ERR1_MP3="${PROJECT_SOURCE_DIR}/assets/err1/Err1.mp3")
  target_link_libraries(pwx_qtaudio_test PRIVATE pwx_qtaudio Qt6::Test)
  add_test(NAME QtAudioPlayerTest COMMAND pwx_qtaudio_test)
  set(pwx_qtaudio_test_env "QT_QPA_PLATFORM=offscreen")
  if(PWX_SANITIZE)
    # Without a sound server, Qt's PulseAudio device list leaks the connection it failed to
    # open; that is none of ours, so the leak checker is told to pass over it.
    set(pwx_qtaudio_lsan_supp ${CMAKE_CURRENT_BINARY_DIR}/QtAudioPlayerTest.lsan.supp)
    file(WRITE ${pwx_qtaudio_lsan_supp} "leak:libpulse.so\n")
    list(APPEND pwx_qtaudio_test_env "LSAN_OPTIONS=suppressions=${pwx_qtaudio_lsan_supp}")
  endif()
  set_tests_properties(QtAudioPlayerTest PROPERTIES ENVIRONMENT "${pwx_qtaudio_test_env}"
                                                    TIMEOUT 60 LABELS app)
endif()
