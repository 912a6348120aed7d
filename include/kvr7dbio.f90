! Kvr7dbio for Fortran programs: the interfaces of the exported routines of kvr7dbio.h, to
! be taken with "use kvr7dbio" instead of an interface block of one's own. The comments of
! kvr7dbio.h say what each routine does; the arguments here carry the same names in the
! same order.
!
! Every argument is passed by reference, as a Fortran program passes it: INTEGER is
! integer(c_int32_t), REAL is real(c_float). A text is character(kind=c_char),
! dimension(*), so that a CHARACTER(len=n) variable is passed as it is: it must be exactly
! the length named beside its routine (the KVR_..._LENGTH constants), blank-padded, with no
! NUL; a text the library returns is blank-padded to that length. No hidden length is
! passed. intent(out) marks what a routine always writes; intent(inout) an argument that it
! may leave as the caller set it (on some statuses it writes nothing there).
module kvr7dbio
  use, intrinsic :: iso_c_binding, only: c_int32_t, c_float, c_char
  implicit none
  private :: c_int32_t, c_float, c_char

  ! ---- Files, environment and version ------------------------------------------------

  integer, parameter :: KVR_ENVIRN_NAME_LENGTH = 30, KVR_ENVIRN_VALUE_LENGTH = 150
  integer, parameter :: KVR_TLMKNM_FILE_LENGTH = 10, KVR_TLMKNM_PATH_LENGTH = 150
  integer, parameter :: KVR_OPNTLDBF_FNAME_LENGTH = 80
  integer, parameter :: KVR_WRTTLLOG_TYPTXT_LENGTH = 20

  ! ---- The writing road --------------------------------------------------------------

  integer, parameter :: KVR_DIDBI_TEXT6_LENGTH = 6, KVR_DIDBI_TEXT79_LENGTH = 79
  integer, parameter :: KVR_DIHED2_NAME_LENGTH = 20, KVR_DIHED2_HTITLE_LENGTH = 20, &
                        KVR_DIHED2_HTEXT_LENGTH = 10
  integer, parameter :: KVR_DISET_SETNAM_LENGTH = 8, KVR_DISET_STITLE_LENGTH = 30
  integer, parameter :: KVR_DIRHA_ATTNAM_LENGTH = 8
  integer, parameter :: KVR_DIRHB_COMPNM_LENGTH = 8, KVR_DIRHB_NCALC_LENGTH = 8, &
                        KVR_DIRHB_COMPN2_LENGTH = 8

  ! ---- Reading a saved model ---------------------------------------------------------

  integer, parameter :: KVR_USTRT2_NAME_LENGTH = 80
  integer, parameter :: KVR_UPNT2_NAME_LENGTH = 8
  integer, parameter :: KVR_UNAMG2_NAME_LENGTH = 8
  integer, parameter :: KVR_UA1CHA_TEXT_LENGTH = 80
  integer, parameter :: KVR_ULINE2_NAME_LENGTH = 8, KVR_ULINE3_NAME_LENGTH = 8, &
                        KVR_ULINE3_DESC_WORDS = 36
  integer, parameter :: KVR_USURF2_NAME_LENGTH = 8
  integer, parameter :: KVR_UBODY2_NAME_LENGTH = 8
  integer, parameter :: KVR_USET2_NAME_LENGTH = 8
  integer, parameter :: KVR_UMAT3_NAME_LENGTH = 8, KVR_UMAT3_NAME2_LENGTH = 8
  integer, parameter :: KVR_UPHYS4_NAME_LENGTH = 8, KVR_UPHYS4_NAME2_LENGTH = 8
  integer, parameter :: KVR_UMATE_LINE_LENGTH = 80, KVR_UPHYSE_LINE_LENGTH = 80
  integer, parameter :: KVR_ULOAD4_NAME_LENGTH = 8, KVR_ULOAD4_DESCRIPTION_LENGTH = 8
  integer, parameter :: KVR_UCURVT_NAME_LENGTH = 15
  integer, parameter :: KVR_UPRESC_NAME_LENGTH = 8
  integer, parameter :: KVR_UBDRY3_NAME_LENGTH = 8

  interface

    ! ---- Files, environment and version ----------------------------------------------

    subroutine dll_vrpre(day, month, year, hour, minute, second, version, letter) &
        bind(C, name="dll_vrpre")
      import :: c_int32_t, c_float
      integer(c_int32_t), intent(out) :: day, month, year, hour, minute, second, letter
      real(c_float), intent(out) :: version
    end subroutine

    subroutine dll_envirn(name, value) bind(C, name="dll_envirn")
      import :: c_char
      character(kind=c_char), dimension(*), intent(in) :: name
      character(kind=c_char), dimension(*), intent(out) :: value
    end subroutine

    subroutine dll_tlmknm(directory, length, file, path) bind(C, name="dll_tlmknm")
      import :: c_int32_t, c_char
      character(kind=c_char), dimension(*), intent(in) :: directory, file
      integer(c_int32_t), intent(in) :: length
      character(kind=c_char), dimension(*), intent(out) :: path
    end subroutine

    subroutine dll_opntldbf(iunit, imode, fname, istat, iform, iacces, irecl, iostat) &
        bind(C, name="dll_opntldbf")
      import :: c_int32_t, c_char
      integer(c_int32_t), intent(in) :: iunit, imode, istat, iform, iacces, irecl
      character(kind=c_char), dimension(*), intent(in) :: fname
      integer(c_int32_t), intent(out) :: iostat
    end subroutine

    subroutine dll_clstldbf(iunit, iostat) bind(C, name="dll_clstldbf")
      import :: c_int32_t
      integer(c_int32_t), intent(in) :: iunit
      integer(c_int32_t), intent(out) :: iostat
    end subroutine

    subroutine dll_kvclose(iunit) bind(C, name="dll_kvclose")
      import :: c_int32_t
      integer(c_int32_t), intent(in) :: iunit
    end subroutine

    subroutine dll_wrttllog(iunit, imode, istep, isub, typtxt) bind(C, name="dll_wrttllog")
      import :: c_int32_t, c_char
      integer(c_int32_t), intent(in) :: iunit, imode, istep, isub
      character(kind=c_char), dimension(*), intent(in) :: typtxt
    end subroutine

    ! ---- The writing road ------------------------------------------------------------

    subroutine dll_diini2(luopt, ludb8, ludb7, luneu, iunits, itfnum, ikeep, nform, &
                          lumsg1, lumsg2, ipgsiz, ierr) bind(C, name="dll_diini2")
      import :: c_int32_t
      integer(c_int32_t), intent(in) :: luopt, ludb8, ludb7, luneu, itfnum, ikeep, nform
      integer(c_int32_t), intent(in) :: lumsg1, lumsg2, ipgsiz
      integer(c_int32_t), dimension(*), intent(in) :: iunits
      integer(c_int32_t), intent(out) :: ierr
    end subroutine

    subroutine dll_didbi(arg1, opened, text6, text79, arg5, ierr) bind(C, name="dll_didbi")
      import :: c_int32_t, c_char
      integer(c_int32_t), intent(in) :: arg1, arg5
      character(kind=c_char), dimension(*), intent(in) :: text6, text79
      integer(c_int32_t), intent(out) :: opened, ierr
    end subroutine

    subroutine dll_dihed2(ikey, iopcod, name, hvalue, hnumbr, htitle, hflag, htext, ierr, &
                          iunt) bind(C, name="dll_dihed2")
      import :: c_int32_t, c_char, c_float
      integer(c_int32_t), intent(in) :: ikey, iopcod, hnumbr, hflag, iunt
      character(kind=c_char), dimension(*), intent(in) :: name, htitle, htext
      real(c_float), intent(in) :: hvalue
      integer(c_int32_t), intent(out) :: ierr
    end subroutine

    subroutine dll_dicor(node, x, y, z, isys, ierr, iunt) bind(C, name="dll_dicor")
      import :: c_int32_t, c_float
      integer(c_int32_t), intent(in) :: node, isys, iunt
      real(c_float), intent(in) :: x, y, z
      integer(c_int32_t), intent(out) :: ierr
    end subroutine

    subroutine dll_ditop(ielem, itype, ieatt1, ieatt2, nodes, isys, ierr, iunt) &
        bind(C, name="dll_ditop")
      import :: c_int32_t
      integer(c_int32_t), intent(in) :: ielem, itype, ieatt1, ieatt2, isys, iunt
      integer(c_int32_t), dimension(*), intent(in) :: nodes
      integer(c_int32_t), intent(out) :: ierr
    end subroutine

    subroutine dll_diset(setnam, stitle, ids, nids, ierr, iunt) bind(C, name="dll_diset")
      import :: c_int32_t, c_char
      character(kind=c_char), dimension(*), intent(in) :: setnam, stitle
      integer(c_int32_t), dimension(*), intent(in) :: ids
      integer(c_int32_t), intent(in) :: nids, iunt
      integer(c_int32_t), intent(out) :: ierr
    end subroutine

    subroutine dll_dicon(node, idof, isys, iedof, ierr, iunt) bind(C, name="dll_dicon")
      import :: c_int32_t
      integer(c_int32_t), intent(in) :: node, idof, isys, iedof, iunt
      integer(c_int32_t), intent(out) :: ierr
    end subroutine

    subroutine dll_dilxc(isys, idum, axes, ierr, iunt) bind(C, name="dll_dilxc")
      import :: c_int32_t, c_float
      integer(c_int32_t), intent(in) :: isys, iunt
      integer(c_int32_t), intent(inout) :: idum
      real(c_float), dimension(9), intent(in) :: axes
      integer(c_int32_t), intent(out) :: ierr
    end subroutine

    subroutine dll_dirha(attnam, ncomps, irtype, numvar, ierr, iunt) bind(C, name="dll_dirha")
      import :: c_int32_t, c_char
      character(kind=c_char), dimension(*), intent(in) :: attnam
      integer(c_int32_t), intent(in) :: ncomps, irtype, numvar, iunt
      integer(c_int32_t), intent(out) :: ierr
    end subroutine

    subroutine dll_dirhb(compnm, inmenu, ctype, index1, index2, iexist, ncalc, compn2, ierr, &
                         iunt) bind(C, name="dll_dirhb")
      import :: c_int32_t, c_char
      character(kind=c_char), dimension(*), intent(in) :: compnm, ncalc, compn2
      integer(c_int32_t), intent(in) :: inmenu, ctype, index1, index2, iexist, iunt
      integer(c_int32_t), intent(out) :: ierr
    end subroutine

    subroutine dll_dinia(node, values, numres, ierr, iunt) bind(C, name="dll_dinia")
      import :: c_int32_t, c_float
      integer(c_int32_t), intent(in) :: node, numres, iunt
      real(c_float), dimension(*), intent(in) :: values
      integer(c_int32_t), intent(out) :: ierr
    end subroutine

    ! NOTREAD is never read.
    subroutine dll_dienh(ielem, itype, ieatt1, ivar, npoint, nlayer, ilocal, notread, ierr, &
                         iunt) bind(C, name="dll_dienh")
      import :: c_int32_t
      integer(c_int32_t), intent(in) :: ielem, itype, ieatt1, ivar, npoint, nlayer, ilocal
      integer(c_int32_t), intent(in) :: notread, iunt
      integer(c_int32_t), intent(out) :: ierr
    end subroutine

    subroutine dll_dienr(id, values, numres, ierr, iunt) bind(C, name="dll_dienr")
      import :: c_int32_t, c_float
      integer(c_int32_t), intent(in) :: id, numres, iunt
      real(c_float), dimension(*), intent(in) :: values
      integer(c_int32_t), intent(out) :: ierr
    end subroutine

    ! NOTREAD is never read.
    subroutine dll_diech(ielem, itype, ieatt1, ivar, nlayer, ilocal, notread, ierr, iunt) &
        bind(C, name="dll_diech")
      import :: c_int32_t
      integer(c_int32_t), intent(in) :: ielem, itype, ieatt1, ivar, nlayer, ilocal
      integer(c_int32_t), intent(in) :: notread, iunt
      integer(c_int32_t), intent(out) :: ierr
    end subroutine

    subroutine dll_diecr(id, values, numres, ierr, iunt) bind(C, name="dll_diecr")
      import :: c_int32_t, c_float
      integer(c_int32_t), intent(in) :: id, numres, iunt
      real(c_float), dimension(*), intent(in) :: values
      integer(c_int32_t), intent(out) :: ierr
    end subroutine

    subroutine dll_diegh(ielem, itype, ieatt1, ivar, npoint, nlayer, ilocal, igflag, ierr, &
                         iunt) bind(C, name="dll_diegh")
      import :: c_int32_t
      integer(c_int32_t), intent(in) :: ielem, itype, ieatt1, ivar, npoint, nlayer, ilocal
      integer(c_int32_t), intent(in) :: igflag, iunt
      integer(c_int32_t), intent(out) :: ierr
    end subroutine

    subroutine dll_diegr(id, x, y, z, values, numres, ierr, iunt) bind(C, name="dll_diegr")
      import :: c_int32_t, c_float
      integer(c_int32_t), intent(in) :: id, numres, iunt
      real(c_float), intent(in) :: x, y, z
      real(c_float), dimension(*), intent(in) :: values
      integer(c_int32_t), intent(out) :: ierr
    end subroutine

    subroutine dll_digxh(ielem, itype, ieatt1, npoint, nlayer, ierr, iunt) &
        bind(C, name="dll_digxh")
      import :: c_int32_t
      integer(c_int32_t), intent(in) :: ielem, itype, ieatt1, npoint, nlayer, iunt
      integer(c_int32_t), intent(out) :: ierr
    end subroutine

    subroutine dll_digxd(id, axes, ierr, iunt) bind(C, name="dll_digxd")
      import :: c_int32_t, c_float
      integer(c_int32_t), intent(in) :: id, iunt
      real(c_float), dimension(9), intent(in) :: axes
      integer(c_int32_t), intent(out) :: ierr
    end subroutine

    subroutine dll_diexh(ielem, itype, ieatt1, npoint, nlayer, ierr, iunt) &
        bind(C, name="dll_diexh")
      import :: c_int32_t
      integer(c_int32_t), intent(in) :: ielem, itype, ieatt1, npoint, nlayer, iunt
      integer(c_int32_t), intent(out) :: ierr
    end subroutine

    subroutine dll_diexd(id, axes, ierr, iunt) bind(C, name="dll_diexd")
      import :: c_int32_t, c_float
      integer(c_int32_t), intent(in) :: id, iunt
      real(c_float), dimension(9), intent(in) :: axes
      integer(c_int32_t), intent(out) :: ierr
    end subroutine

    subroutine dll_dilim(ierr, iunt) bind(C, name="dll_dilim")
      import :: c_int32_t
      integer(c_int32_t), intent(out) :: ierr
      integer(c_int32_t), intent(in) :: iunt
    end subroutine

    subroutine dll_distp(ierr) bind(C, name="dll_distp")
      import :: c_int32_t
      integer(c_int32_t), intent(out) :: ierr
    end subroutine

    subroutine dll_dierr(ilevel, ierr, iunt) bind(C, name="dll_dierr")
      import :: c_int32_t
      integer(c_int32_t), intent(in) :: ilevel, iunt
      integer(c_int32_t), intent(out) :: ierr
    end subroutine

    ! ---- Reading a saved model: the session, sizes, points, nodes, elements, names ---

    subroutine dll_ustrt2(name, work, size, status) bind(C, name="dll_ustrt2")
      import :: c_int32_t, c_char
      character(kind=c_char), dimension(*), intent(in) :: name
      integer(c_int32_t), dimension(*), intent(in) :: work
      integer(c_int32_t), intent(in) :: size
      integer(c_int32_t), intent(out) :: status
    end subroutine

    subroutine dll_usize(sizes) bind(C, name="dll_usize")
      import :: c_int32_t
      integer(c_int32_t), dimension(20), intent(out) :: sizes
    end subroutine

    subroutine dll_usiz2(sizes) bind(C, name="dll_usiz2")
      import :: c_int32_t
      integer(c_int32_t), dimension(50), intent(out) :: sizes
    end subroutine

    subroutine dll_upnt2(number, name, xyz, status) bind(C, name="dll_upnt2")
      import :: c_int32_t, c_char, c_float
      integer(c_int32_t), intent(in) :: number
      character(kind=c_char), dimension(*), intent(inout) :: name
      real(c_float), dimension(3), intent(inout) :: xyz
      integer(c_int32_t), intent(out) :: status
    end subroutine

    subroutine dll_unode(node, xyz, status) bind(C, name="dll_unode")
      import :: c_int32_t, c_float
      integer(c_int32_t), intent(in) :: node
      real(c_float), dimension(3), intent(inout) :: xyz
      integer(c_int32_t), intent(out) :: status
    end subroutine

    subroutine dll_uelem(element, nodes, count, status) bind(C, name="dll_uelem")
      import :: c_int32_t
      integer(c_int32_t), intent(in) :: element
      integer(c_int32_t), dimension(*), intent(inout) :: nodes
      integer(c_int32_t), intent(inout) :: count
      integer(c_int32_t), intent(out) :: status
    end subroutine

    subroutine dll_unamg2(kind, number, name, status) bind(C, name="dll_unamg2")
      import :: c_int32_t, c_char
      integer(c_int32_t), intent(in) :: kind, number
      character(kind=c_char), dimension(*), intent(inout) :: name
      integer(c_int32_t), intent(out) :: status
    end subroutine

    ! ---- Code lines --------------------------------------------------------------------

    subroutine dll_ua1cha(codes, n, text) bind(C, name="dll_ua1cha")
      import :: c_int32_t, c_char
      integer(c_int32_t), dimension(*), intent(in) :: codes
      integer(c_int32_t), intent(in) :: n
      character(kind=c_char), dimension(*), intent(out) :: text
    end subroutine

    subroutine dll_uslcha(text, length, start, codes, last) bind(C, name="dll_uslcha")
      import :: c_int32_t, c_char
      character(kind=c_char), dimension(*), intent(in) :: text
      integer(c_int32_t), intent(in) :: length, start
      integer(c_int32_t), dimension(*), intent(inout) :: codes
      integer(c_int32_t), intent(out) :: last
    end subroutine

    subroutine dll_ucconv(codes, first, last) bind(C, name="dll_ucconv")
      import :: c_int32_t
      integer(c_int32_t), dimension(*), intent(inout) :: codes
      integer(c_int32_t), intent(in) :: first, last
    end subroutine

    subroutine dll_udecod(codes, start, last, mode, kind, first, end, ivalue, rvalue) &
        bind(C, name="dll_udecod")
      import :: c_int32_t, c_float
      integer(c_int32_t), dimension(*), intent(in) :: codes
      integer(c_int32_t), intent(in) :: start, last, mode
      integer(c_int32_t), intent(out) :: kind
      integer(c_int32_t), intent(inout) :: first, end, ivalue
      real(c_float), intent(inout) :: rvalue
    end subroutine

    ! ---- Lines, surfaces, bodies, sets -------------------------------------------------

    subroutine dll_uline2(number, name, desc, length, status) bind(C, name="dll_uline2")
      import :: c_int32_t, c_char, c_float
      integer(c_int32_t), intent(in) :: number
      character(kind=c_char), dimension(*), intent(inout) :: name
      integer(c_int32_t), dimension(*), intent(inout) :: desc
      real(c_float), intent(inout) :: length
      integer(c_int32_t), intent(out) :: status
    end subroutine

    ! DESC must hold 16 numbers and one for each member of a composite line (at most
    ! KVR_ULINE3_DESC_WORDS in all).
    subroutine dll_uline3(number, name, desc, length, status) bind(C, name="dll_uline3")
      import :: c_int32_t, c_char, c_float
      integer(c_int32_t), intent(in) :: number
      character(kind=c_char), dimension(*), intent(inout) :: name
      integer(c_int32_t), dimension(*), intent(inout) :: desc
      real(c_float), intent(inout) :: length
      integer(c_int32_t), intent(out) :: status
    end subroutine

    subroutine dll_usurf2(number, name, desc, status) bind(C, name="dll_usurf2")
      import :: c_int32_t, c_char
      integer(c_int32_t), intent(in) :: number
      character(kind=c_char), dimension(*), intent(inout) :: name
      integer(c_int32_t), dimension(16), intent(inout) :: desc
      integer(c_int32_t), intent(out) :: status
    end subroutine

    subroutine dll_ubody2(number, name, desc, status) bind(C, name="dll_ubody2")
      import :: c_int32_t, c_char
      integer(c_int32_t), intent(in) :: number
      character(kind=c_char), dimension(*), intent(inout) :: name
      integer(c_int32_t), dimension(16), intent(inout) :: desc
      integer(c_int32_t), intent(out) :: status
    end subroutine

    subroutine dll_uset2(set, kind, name, members, size, count, status) &
        bind(C, name="dll_uset2")
      import :: c_int32_t, c_char
      integer(c_int32_t), intent(in) :: set, kind, size
      character(kind=c_char), dimension(*), intent(inout) :: name
      integer(c_int32_t), dimension(*), intent(inout) :: members
      integer(c_int32_t), intent(inout) :: count
      integer(c_int32_t), intent(out) :: status
    end subroutine

    ! ---- Nodes and elements of entities ------------------------------------------------

    subroutine dll_unodeg(kind, number, count, nodes, size, status) bind(C, name="dll_unodeg")
      import :: c_int32_t
      integer(c_int32_t), intent(in) :: kind, number, size
      integer(c_int32_t), intent(inout) :: count
      integer(c_int32_t), dimension(*), intent(inout) :: nodes
      integer(c_int32_t), intent(out) :: status
    end subroutine

    subroutine dll_uelemg(kind, number, first, last, eltype, units, material, property, &
                          group, status) bind(C, name="dll_uelemg")
      import :: c_int32_t
      integer(c_int32_t), intent(in) :: kind, number
      integer(c_int32_t), intent(inout) :: first, last, eltype, units, material, property
      integer(c_int32_t), intent(inout) :: group
      integer(c_int32_t), intent(out) :: status
    end subroutine

    ! PROPERTY is the one argument passed by value: the caller never receives it.
    subroutine dll_ugelem(element, kind, number, eltype, units, material, property, group, &
                          status) bind(C, name="dll_ugelem")
      import :: c_int32_t
      integer(c_int32_t), intent(in) :: element
      integer(c_int32_t), intent(inout) :: kind, number, eltype, units, material, group
      integer(c_int32_t), value, intent(in) :: property
      integer(c_int32_t), intent(out) :: status
    end subroutine

    ! ---- Materials and physical properties ---------------------------------------------

    subroutine dll_umat3(number, name, name2, word, count, values, size, status) &
        bind(C, name="dll_umat3")
      import :: c_int32_t, c_char, c_float
      integer(c_int32_t), intent(in) :: number, size
      character(kind=c_char), dimension(*), intent(inout) :: name, name2
      integer(c_int32_t), intent(inout) :: word, count
      real(c_float), dimension(*), intent(inout) :: values
      integer(c_int32_t), intent(out) :: status
    end subroutine

    subroutine dll_uphys4(number, name, name2, w4, w2, w3, count, values, size, status) &
        bind(C, name="dll_uphys4")
      import :: c_int32_t, c_char, c_float
      integer(c_int32_t), intent(in) :: number, size
      character(kind=c_char), dimension(*), intent(inout) :: name, name2
      integer(c_int32_t), intent(inout) :: w4, w2, w3, count
      real(c_float), dimension(*), intent(inout) :: values
      integer(c_int32_t), intent(out) :: status
    end subroutine

    ! LINES holds MAX texts of KVR_UMATE_LINE_LENGTH characters, LENGTHS MAX numbers.
    subroutine dll_umate(values, spare, max, count, lengths, lines, status) &
        bind(C, name="dll_umate")
      import :: c_int32_t, c_char, c_float
      real(c_float), dimension(*), intent(in) :: values
      integer(c_int32_t), intent(in) :: spare, max
      integer(c_int32_t), intent(inout) :: count
      integer(c_int32_t), dimension(*), intent(inout) :: lengths
      character(kind=c_char), dimension(*), intent(inout) :: lines
      integer(c_int32_t), intent(out) :: status
    end subroutine

    subroutine dll_uphyse(values, spare, max, count, lengths, lines, status) &
        bind(C, name="dll_uphyse")
      import :: c_int32_t, c_char, c_float
      real(c_float), dimension(*), intent(in) :: values
      integer(c_int32_t), intent(in) :: spare, max
      integer(c_int32_t), intent(inout) :: count
      integer(c_int32_t), dimension(*), intent(inout) :: lengths
      character(kind=c_char), dimension(*), intent(inout) :: lines
      integer(c_int32_t), intent(out) :: status
    end subroutine

    ! ---- Neighbours and coordinate systems ---------------------------------------------

    subroutine dll_uadjge(kind, number, rkind, rnumber, nkind, nnumber, work, spare, mode, &
                          status) bind(C, name="dll_uadjge")
      import :: c_int32_t
      integer(c_int32_t), intent(in) :: kind, number, rkind, rnumber, spare, mode
      integer(c_int32_t), intent(inout) :: nkind, nnumber
      integer(c_int32_t), dimension(*), intent(inout) :: work
      integer(c_int32_t), intent(out) :: status
    end subroutine

    subroutine dll_ucsys2(number, type, axes, node1, node2, node3, count, nodes, size, &
                          status) bind(C, name="dll_ucsys2")
      import :: c_int32_t, c_float
      integer(c_int32_t), intent(in) :: number, size
      integer(c_int32_t), intent(inout) :: type, node1, node2, node3, count
      real(c_float), dimension(6), intent(inout) :: axes
      integer(c_int32_t), dimension(*), intent(inout) :: nodes
      integer(c_int32_t), intent(out) :: status
    end subroutine

    subroutine dll_ucocyl(type, axes, origin, point, directions) bind(C, name="dll_ucocyl")
      import :: c_int32_t, c_float
      integer(c_int32_t), intent(in) :: type
      real(c_float), dimension(6), intent(in) :: axes
      real(c_float), dimension(3), intent(in) :: origin, point
      real(c_float), dimension(6), intent(inout) :: directions
    end subroutine

    ! ---- Loads -------------------------------------------------------------------------

    subroutine dll_uload4(number, name, description, word3, type, word7, word8, word9, &
                          word10, kind, entity, kind2, entity2, count, values, size, status) &
        bind(C, name="dll_uload4")
      import :: c_int32_t, c_char, c_float
      integer(c_int32_t), intent(in) :: number, size
      character(kind=c_char), dimension(*), intent(inout) :: name, description
      integer(c_int32_t), intent(inout) :: word3, type, word7, word8, word9, word10
      integer(c_int32_t), intent(inout) :: kind, entity, kind2, entity2, count
      real(c_float), dimension(*), intent(inout) :: values
      integer(c_int32_t), intent(out) :: status
    end subroutine

    subroutine dll_uloadp(number, kind, entity, status) bind(C, name="dll_uloadp")
      import :: c_int32_t
      integer(c_int32_t), intent(in) :: number
      integer(c_int32_t), intent(inout) :: kind, entity
      integer(c_int32_t), intent(out) :: status
    end subroutine

    ! A negative RECORD takes KIND and ENTITY as the caller gives them.
    subroutine dll_uloade(record, kind, entity, meshed, status) bind(C, name="dll_uloade")
      import :: c_int32_t
      integer(c_int32_t), intent(in) :: record
      integer(c_int32_t), intent(inout) :: kind, entity, meshed
      integer(c_int32_t), intent(out) :: status
    end subroutine

    subroutine dll_ulode2(record, kind, entity, kind2, entity2, relation, apart) &
        bind(C, name="dll_ulode2")
      import :: c_int32_t
      integer(c_int32_t), intent(in) :: record
      integer(c_int32_t), intent(inout) :: kind, entity, kind2, entity2, relation, apart
    end subroutine

    ! MODE and RECORD carry the cached distribution from one call to the next.
    subroutine dll_uleval(mode, variation, distribution, system, position, kind, entity, &
                          applies, value, axes, record, size, status) bind(C, name="dll_uleval")
      import :: c_int32_t, c_float
      integer(c_int32_t), intent(inout) :: mode
      integer(c_int32_t), intent(in) :: variation, distribution, system, kind, entity, size
      real(c_float), dimension(3), intent(in) :: position
      integer(c_int32_t), intent(inout) :: applies
      real(c_float), intent(inout) :: value
      real(c_float), dimension(9), intent(inout) :: axes
      integer(c_int32_t), dimension(*), intent(inout) :: record
      integer(c_int32_t), intent(out) :: status
    end subroutine

    ! ---- Curves ------------------------------------------------------------------------

    subroutine dll_ucurvt(number, mode, name, type, fillet, repeat, work, wsize, values, &
                          vsize, written, status) bind(C, name="dll_ucurvt")
      import :: c_int32_t, c_char, c_float
      integer(c_int32_t), intent(in) :: number, mode, wsize, vsize
      character(kind=c_char), dimension(*), intent(inout) :: name
      integer(c_int32_t), intent(inout) :: type, repeat, written
      real(c_float), intent(inout) :: fillet
      integer(c_int32_t), dimension(*), intent(inout) :: work
      real(c_float), dimension(*), intent(inout) :: values
      integer(c_int32_t), intent(out) :: status
    end subroutine

    ! ---- Constraints, prescribed values, rigid beams, equations and connections --------

    subroutine dll_ucone3(node, flags, system, status) bind(C, name="dll_ucone3")
      import :: c_int32_t
      integer(c_int32_t), intent(in) :: node
      integer(c_int32_t), dimension(16), intent(inout) :: flags
      integer(c_int32_t), intent(inout) :: system
      integer(c_int32_t), intent(out) :: status
    end subroutine

    subroutine dll_ucons3(node, flags, system, spare, status) bind(C, name="dll_ucons3")
      import :: c_int32_t
      integer(c_int32_t), intent(in) :: node
      integer(c_int32_t), dimension(16), intent(inout) :: flags
      integer(c_int32_t), intent(inout) :: system, spare
      integer(c_int32_t), intent(out) :: status
    end subroutine

    subroutine dll_upresc(number, name, kind, entity, dof, value, ivalue, status) &
        bind(C, name="dll_upresc")
      import :: c_int32_t, c_char, c_float
      integer(c_int32_t), intent(in) :: number
      character(kind=c_char), dimension(*), intent(inout) :: name
      integer(c_int32_t), intent(inout) :: kind, entity, dof, ivalue
      real(c_float), intent(inout) :: value
      integer(c_int32_t), intent(out) :: status
    end subroutine

    subroutine dll_urbeam(number, list, size, flags, status) bind(C, name="dll_urbeam")
      import :: c_int32_t
      integer(c_int32_t), intent(in) :: number, size
      integer(c_int32_t), dimension(*), intent(inout) :: list
      integer(c_int32_t), dimension(16), intent(inout) :: flags
      integer(c_int32_t), intent(out) :: status
    end subroutine

    ! TERMFLAGS holds 16 numbers and FACTORS one for each term of the equation.
    subroutine dll_uequa(number, list, size, node, flags, value6, terms, termflags, factors, &
                         value4, status) bind(C, name="dll_uequa")
      import :: c_int32_t, c_float
      integer(c_int32_t), intent(in) :: number, size
      integer(c_int32_t), dimension(*), intent(inout) :: list, termflags
      integer(c_int32_t), intent(inout) :: node, terms
      integer(c_int32_t), dimension(16), intent(inout) :: flags
      real(c_float), intent(inout) :: value6, value4
      real(c_float), dimension(*), intent(inout) :: factors
      integer(c_int32_t), intent(out) :: status
    end subroutine

    subroutine dll_ubdry3(number, name, type, code1, flags1, code2, flags2, value, status) &
        bind(C, name="dll_ubdry3")
      import :: c_int32_t, c_char, c_float
      integer(c_int32_t), intent(in) :: number
      character(kind=c_char), dimension(*), intent(inout) :: name
      integer(c_int32_t), intent(inout) :: type, code1, code2
      integer(c_int32_t), dimension(16), intent(inout) :: flags1, flags2
      real(c_float), intent(inout) :: value
      integer(c_int32_t), intent(out) :: status
    end subroutine

    subroutine dll_uconct(number, list, size, flags, status) bind(C, name="dll_uconct")
      import :: c_int32_t
      integer(c_int32_t), intent(in) :: number, size
      integer(c_int32_t), dimension(*), intent(inout) :: list
      integer(c_int32_t), dimension(16), intent(inout) :: flags
      integer(c_int32_t), intent(out) :: status
    end subroutine

    ! ---- Faces and edges of elements ---------------------------------------------------

    subroutine dll_ueface(element, shape, kind, number, target, facenodes, work, size, start, &
                          face, status) bind(C, name="dll_ueface")
      import :: c_int32_t
      integer(c_int32_t), intent(in) :: element, shape, kind, number, target, facenodes
      integer(c_int32_t), intent(in) :: size, start
      integer(c_int32_t), dimension(*), intent(inout) :: work
      integer(c_int32_t), intent(inout) :: face
      integer(c_int32_t), intent(out) :: status
    end subroutine

    ! Between the calls for the elements of one entity the caller leaves WORK as it is.
    subroutine dll_uefac2(mode, element, shape, kind, number, rkind, rnumber, target, &
                          nodecount, work, size, start, faces, facecount, status) &
        bind(C, name="dll_uefac2")
      import :: c_int32_t
      integer(c_int32_t), intent(in) :: mode, element, shape, kind, number, rkind, rnumber
      integer(c_int32_t), intent(in) :: target, size, start
      integer(c_int32_t), intent(inout) :: nodecount, facecount
      integer(c_int32_t), dimension(*), intent(inout) :: work
      integer(c_int32_t), dimension(6), intent(inout) :: faces
      integer(c_int32_t), intent(out) :: status
    end subroutine

    subroutine dll_ufacg2(kind, number, rkind, rnumber, carrierkind, carriernumber, &
                          facenodecount, facenodes, face, orientation, elementcount, work, &
                          size, status) bind(C, name="dll_ufacg2")
      import :: c_int32_t
      integer(c_int32_t), intent(in) :: kind, number, rkind, rnumber, size
      integer(c_int32_t), intent(inout) :: carrierkind, carriernumber, facenodecount
      integer(c_int32_t), intent(inout) :: face, orientation, elementcount
      integer(c_int32_t), dimension(16), intent(inout) :: facenodes
      integer(c_int32_t), dimension(*), intent(inout) :: work
      integer(c_int32_t), intent(out) :: status
    end subroutine

    subroutine dll_upfn(shape, face, spare, capacity, list, count, status) &
        bind(C, name="dll_upfn")
      import :: c_int32_t
      integer(c_int32_t), intent(in) :: shape, face, spare, capacity
      integer(c_int32_t), dimension(*), intent(inout) :: list
      integer(c_int32_t), intent(inout) :: count
      integer(c_int32_t), intent(out) :: status
    end subroutine

  end interface

end module kvr7dbio
