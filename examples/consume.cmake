# Script run by the install_and_consume test.
file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed: ${ARGN}\n${out}\n${err}")
  endif()
  set(last_output "${out}" PARENT_SCOPE)
endfunction()

run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

# 1. find_package(kynbasepack)
run(${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR}/build -G ${GENERATOR}
    -DCMAKE_CXX_COMPILER=${CXX} -DCMAKE_PREFIX_PATH=${prefix})
run(${CMAKE_COMMAND} --build ${WORK_DIR}/build)
run(${WORK_DIR}/build/consumer)
if(NOT last_output MATCHES "kynbasepack works")
  message(FATAL_ERROR "unexpected output: ${last_output}")
endif()

# 2. pkg-config
set(ENV{PKG_CONFIG_PATH} ${prefix}/lib/pkgconfig:${prefix}/lib64/pkgconfig)
execute_process(COMMAND pkg-config --static --cflags --libs kynbasepack
  RESULT_VARIABLE rc OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "pkg-config does not know kynbasepack")
endif()
separate_arguments(flags UNIX_COMMAND "${flags}")
run(${CXX} ${SOURCE_DIR}/main.cpp -o ${WORK_DIR}/consumer_pc ${flags})
run(${WORK_DIR}/consumer_pc)
if(NOT last_output MATCHES "kynbasepack works")
  message(FATAL_ERROR "unexpected output: ${last_output}")
endif()
