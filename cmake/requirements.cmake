# What an option asks for beyond the build packages. Asking for it without
# them stops the configure, saying which option wants what.
function(vexa_require found option)
  if(NOT ${found})
    message(FATAL_ERROR "${option} needs " ${ARGN} ", which is not installed "
                        "(scripts/install-deps installs it; see README).")
  endif()
endfunction()

# The Python interpreter that an option's tests or benchmarks run: 3.9 or the
# later version given.
function(vexa_find_python option)
  set(minimum 3.9)
  if(ARGC GREATER 1)
    set(minimum ${ARGV1})
  endif()
  find_package(Python3 ${minimum} COMPONENTS Interpreter)
  vexa_require(Python3_FOUND ${option} "Python ${minimum} or later (Debian: python3)")
  set(Python3_EXECUTABLE ${Python3_EXECUTABLE} PARENT_SCOPE)
endfunction()

# A program that an option's tests or tools run, found now rather than when
# a test fails for the want of it.
function(vexa_find_program variable name option package)
  find_program(${variable} ${name})
  vexa_require(${variable} ${option} "${name} (Debian: ${package})")
endfunction()
