# Opens the recording the Wine tests left beside the program with ffprobe, a reader of its own:
# one video stream of 1280 x 720 with every frame (FRAMES) there.
# Usage: cmake -DFFPROBE=... -DAVI=... -DFRAMES=n -P avi_probe.cmake
if(NOT FFPROBE)
  message(FATAL_ERROR "ffprobe is missing (Debian package ffmpeg; tools/setup.sh installs it)")
endif()
if(NOT EXISTS "${AVI}")
  message(FATAL_ERROR "no recording at ${AVI}")
endif()
execute_process(
  COMMAND ${FFPROBE} -v error -count_frames -select_streams v:0
          -show_entries stream=codec_type,width,height,nb_read_frames,r_frame_rate -of default=noprint_wrappers=1
          ${AVI}
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
message(STATUS "ffprobe:\n${out}${err}")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "ffprobe could not open ${AVI}")
endif()
foreach(want "codec_type=video" "width=1280" "height=720" "r_frame_rate=30/1" "nb_read_frames=${FRAMES}")
  string(FIND "${out}" "${want}\n" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "ffprobe does not report ${want}")
  endif()
endforeach()
