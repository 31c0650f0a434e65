# The product's code builds without C++ exceptions and run-time type
# information; test code keeps both. Its libraries link this target privately,
# inside this build only: it is no part of what they export.
add_library(torvalink_product_code INTERFACE)
target_compile_options(torvalink_product_code INTERFACE -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables -fno-unwind-tables)
# __FILE__ and its kin name files relative to the sources or the build, never
# by the folders of the machine that built them: a build elsewhere gives the
# same bytes. The build's own folder comes last, so that GCC tries it first.
target_compile_options(torvalink_product_code INTERFACE -ffile-prefix-map=${PROJECT_SOURCE_DIR}/=
  -ffile-prefix-map=${PROJECT_BINARY_DIR}/=)
if(TORVALINK_PRODUCT)
  # Link-time optimisation for the product binaries; the objects stay fat, so
  # that the test executables, which GCC 12 cannot link with LTO, and the
  # programs of the package's users use their ordinary code. Size before
  # speed: the installer does little work.
  target_compile_options(torvalink_product_code INTERFACE -flto -ffat-lto-objects -Oz)
endif()

# Windows 95 runs on the 486 and the first Pentium, which lack the Pentium
# Pro's conditional moves that the compiler would otherwise use.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(PRODUCT_ARCHITECTURE -march=i486 -mtune=generic)
  target_compile_options(torvalink_product_code INTERFACE ${PRODUCT_ARCHITECTURE})
endif()

# product_library(TARGET): a static library of product code. Whatever links
# it, here or in another project through the installed package, links its
# ordinary code, never its LTO code (GCC 12 fails on test executables linked
# with it), except the product binaries themselves (own_entry_point).
function(product_library target)
  target_link_libraries(${target} PRIVATE $<BUILD_INTERFACE:torvalink_product_code>)
  target_link_options(${target} INTERFACE $<$<NOT:$<BOOL:$<TARGET_PROPERTY:TORVALINK_LTO_LINK>>>:-fno-use-linker-plugin>)
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
    target_link_libraries(${target} PRIVATE torvalink::common)
  endif()
  target_link_libraries(${target} PRIVATE torvalink_product_code)
  set_target_properties(${target} PROPERTIES TORVALINK_LTO_LINK ON)
  target_link_options(${target} PRIVATE ${PRODUCT_ARCHITECTURE} -Oz -flto -fuse-linker-plugin -nostartfiles -nodefaultlibs -Wl,--entry=${symbol}
    -Wl,--disable-auto-import -Wl,--disable-runtime-pseudo-reloc)
endfunction()
