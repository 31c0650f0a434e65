# The product binaries' code builds without C++ exceptions and run-time type
# information, for size: there, running out of memory ends the program after
# telling the user. The libraries as other code links them (the tests, the
# package, another project) keep both, so that a failed allocation inside them
# is reported like any other failure.
add_library(torvalink_product_code INTERFACE)
target_compile_options(torvalink_product_code INTERFACE -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables -fno-unwind-tables)
# __FILE__ and its kin name files relative to the sources or the build, never
# by the folders of the machine that built them: a build elsewhere gives the
# same bytes. The build's own folder comes last, so that GCC tries it first.
target_compile_options(torvalink_product_code INTERFACE -ffile-prefix-map=${PROJECT_SOURCE_DIR}/=
  -ffile-prefix-map=${PROJECT_BINARY_DIR}/=)
if(TORVALINK_PRODUCT)
  # Link-time optimisation for the product binaries. Size before speed: the
  # installer does little work.
  target_compile_options(torvalink_product_code INTERFACE -flto -Oz)
endif()

# Windows 95 runs on the 486 and the first Pentium, which lack the Pentium
# Pro's conditional moves that the compiler would otherwise use.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(PRODUCT_ARCHITECTURE -march=i486 -mtune=generic)
  target_compile_options(torvalink_product_code INTERFACE ${PRODUCT_ARCHITECTURE})
endif()

# product_library(TARGET [PUBLIC LIBS...] [PRIVATE LIBS...]): links the static
# library TARGET with LIBS and, when the product is built, makes its twin
# TARGET_product: the same sources built as product code, for the product
# binaries. The twin links the twins of the project's libraries among LIBS
# (named torvalink_*, made before) and the other LIBS as they are.
function(product_library target)
  cmake_parse_arguments(LIBRARY "" "" "PUBLIC;PRIVATE" ${ARGN})
  target_link_libraries(${target} PUBLIC ${LIBRARY_PUBLIC} PRIVATE ${LIBRARY_PRIVATE})
  if(NOT TORVALINK_PRODUCT)
    return()
  endif()
  get_target_property(sources ${target} SOURCES)
  add_library(${target}_product STATIC EXCLUDE_FROM_ALL ${sources})
  set_target_properties(${target}_product PROPERTIES
    INCLUDE_DIRECTORIES "$<TARGET_PROPERTY:${target},INCLUDE_DIRECTORIES>"
    INTERFACE_INCLUDE_DIRECTORIES "$<TARGET_PROPERTY:${target},INTERFACE_INCLUDE_DIRECTORIES>")
  foreach(scope PUBLIC PRIVATE)
    set(twins)
    foreach(library IN LISTS LIBRARY_${scope})
      if(library MATCHES "^torvalink_" AND TARGET ${library}_product)
        list(APPEND twins ${library}_product)
      else()
        list(APPEND twins ${library})
      endif()
    endforeach()
    target_link_libraries(${target}_product ${scope} ${twins})
  endforeach()
  target_link_libraries(${target}_product PRIVATE torvalink_product_code)
endfunction()

# With -nodefaultlibs the compiler's own helpers (64-bit division on i686,
# stack probes) still come from the static libgcc, after everything else.
set(CMAKE_CXX_STANDARD_LIBRARIES "${CMAKE_CXX_STANDARD_LIBRARIES} -lgcc")

# own_entry_point(TARGET ENTRY ARGUMENT_BYTES [CXX]): TARGET starts at the stdcall
# function ENTRY and links neither the C nor the C++ run-time: no start-up
# code runs before ENTRY, so the binary must need no static constructors, no
# runtime pseudo-relocations and no static TLS, which the link refuses. CXX
# adds the allocation functions and C++ library hooks, for code that uses
# strings and vectors. TARGET links with link-time optimisation.
function(own_entry_point target entry argument_bytes)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(symbol _${entry}@${argument_bytes})
  else()
    set(symbol ${entry})
  endif()
  target_sources(${target} PRIVATE $<TARGET_OBJECTS:torvalink_c_runtime>)
  if("CXX" IN_LIST ARGN)
    target_sources(${target} PRIVATE $<TARGET_OBJECTS:torvalink_cxx_runtime>)
    target_link_libraries(${target} PRIVATE torvalink_common_product torvalink_internal)
  endif()
  target_link_libraries(${target} PRIVATE torvalink_product_code)
  target_link_options(${target} PRIVATE ${PRODUCT_ARCHITECTURE} -Oz -flto -fuse-linker-plugin -nostartfiles -nodefaultlibs -Wl,--entry=${symbol}
    -Wl,--disable-auto-import -Wl,--disable-runtime-pseudo-reloc)
endfunction()
