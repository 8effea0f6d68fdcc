# One library target per folder. A layer of liborvo.so (core, data, script, later flow and
# ui) is an OBJECT library: its objects go into liborvo.so, and each test suite links the
# objects of its own layer and of the layers below it, so a suite never runs with the
# factories of a higher layer registered.
#
#   orvo_layer(orvo_data LAYERS orvo_core LIBS PkgConfig::LIBGCRYPT)
#   orvo_link_layers(data_tests orvo_data)     # orvo_data and orvo_core objects
#
# LAYERS are the layers this one builds on (what its README's "May include" line allows);
# LIBS are outside libraries.

function(orvo_layer name)
    cmake_parse_arguments(L "" "" "LAYERS;LIBS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    add_library(${name} OBJECT ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${L_LAYERS} nubra ${L_LIBS} PRIVATE orvo_warnings)
    # Calls inside liborvo.so go straight to their targets instead of through the PLT: cell
    # access and tree walks are made of many small calls.
    target_compile_options(${name} PRIVATE -fno-semantic-interposition)
    set(below ${L_LAYERS})
    foreach(layer ${L_LAYERS})
        get_property(deeper GLOBAL PROPERTY ORVO_LAYERS_BELOW_${layer})
        list(APPEND below ${deeper})
    endforeach()
    list(REMOVE_DUPLICATES below)
    set_property(GLOBAL PROPERTY ORVO_LAYERS_BELOW_${name} ${below})
endfunction()

# Links the objects of each named layer and of every layer below it into `target`. Objects
# of an OBJECT library only reach targets that link it directly, hence the explicit list.
function(orvo_link_layers target)
    set(all ${ARGN})
    foreach(layer ${ARGN})
        get_property(below GLOBAL PROPERTY ORVO_LAYERS_BELOW_${layer})
        list(APPEND all ${below})
    endforeach()
    list(REMOVE_DUPLICATES all)
    target_link_libraries(${target} PRIVATE ${all})
endfunction()
