# Installs the build into a scratch prefix, checks that only public headers went there, builds
# the hello example against it through find_package, moves the prefix and builds the example
# again through pkg-config alone.
set(prefix ${WORK}/prefix)
file(REMOVE_RECURSE ${WORK})

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed (${rc}):\n${out}\n${err}")
  endif()
  set(last_output "${out}" PARENT_SCOPE)
endfunction()

run(${CMAKE_COMMAND} --install ${BINARY} --prefix ${prefix})

file(GLOB_RECURSE internal ${prefix}/include/*_p.h)
if(internal)
  message(FATAL_ERROR "internal headers were installed: ${internal}")
endif()
if(NOT EXISTS ${prefix}/include/vxplan/platform/controls/vxPanel.h)
  message(FATAL_ERROR "the public headers are not under include/vxplan")
endif()
if(SHARED)
  file(GLOB_RECURSE sonames ${prefix}/*/libvxplan.so.*)
  if(NOT sonames)
    message(FATAL_ERROR "no versioned shared library was installed")
  endif()
  run(objdump -p ${prefix}/lib/libvxplan.so)
  if(NOT last_output MATCHES "SONAME +libvxplan\\.so\\.[0-9]+\\.[0-9]+")
    message(FATAL_ERROR "libvxplan.so carries no versioned SONAME:\n${last_output}")
  endif()
endif()

run(${CMAKE_COMMAND} -S ${CONSUMER} -B ${WORK}/consumer -G Ninja
    -DCMAKE_PREFIX_PATH=${prefix} -DHELLO_SOURCE=${HELLO_SOURCE} -DVXPLAN_INCLUDE_ROOT=${prefix}/include)
run(${CMAKE_COMMAND} --build ${WORK}/consumer)
run(${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen LD_LIBRARY_PATH=${prefix}/lib
    ${WORK}/consumer/hello --quit)

# pkg-config from a prefix moved after the install.
set(moved ${WORK}/moved)
file(RENAME ${prefix} ${moved})
set(ENV{PKG_CONFIG_PATH} ${moved}/lib/pkgconfig)
run(pkg-config --cflags --libs vxplan)
string(STRIP "${last_output}" flags)
if(NOT flags MATCHES "-I${moved}/lib/pkgconfig/../../include" AND NOT flags MATCHES "-I${moved}/include")
  message(FATAL_ERROR "pkg-config does not follow the moved prefix: ${flags}")
endif()
separate_arguments(flags UNIX_COMMAND "${flags}")
run(c++ ${HELLO_SOURCE} -o ${WORK}/hello-pc ${flags})
run(${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen LD_LIBRARY_PATH=${moved}/lib ${WORK}/hello-pc --quit)
